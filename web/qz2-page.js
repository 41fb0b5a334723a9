// The page's side of the show: fetches the pack with a progress bar, starts the program on a click (the gesture
// a browser asks for before it plays sound), sizes the canvas to the window, shows the program's messages, and
// reads scene=N and still=T from the address.
"use strict";
(function () {
  const byId = (id) => document.getElementById(id);
  const params = new URLSearchParams(location.search);
  const still = params.get("still");
  const args = [];
  if (params.get("scene")) args.push("--scene", params.get("scene"));
  if (still !== null) args.push("--still", still);
  // A still is for tests and thumbnails: the picture alone.
  if (still !== null) document.body.classList.add("still");
  let pack = null;
  let runtimeReady = false;
  let started = false;

  // The drawable follows the window in device pixels; the program letterboxes its picture in it.
  function fitCanvas() {
    const canvas = byId("canvas");
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    canvas.height = Math.max(1, Math.round(canvas.clientHeight * ratio));
  }

  function showMessage(caption, text, problem) {
    const line = document.createElement("p");
    if (!problem) line.className = "warning";
    line.textContent = caption + ": " + text;
    byId("messages").appendChild(line);
  }

  function start() {
    if (started || !pack || !runtimeReady) return;
    started = true;
    // A still plays no music.
    const Audio = still === null && (window.AudioContext || window.webkitAudioContext);
    if (Audio) {
      Module.qz2Audio = new Audio();
      Module.qz2Audio.resume();
    }
    Module.FS.writeFile("/PACK.ZUL", pack);
    pack = null;
    byId("front").hidden = true;
    byId("canvas").focus();
    Module.qz2StartedAt = performance.now();
    Module.callMain(args);
  }

  // Both the pack and the program are in: a still starts by itself, the show waits for the click.
  function offerStart() {
    if (!pack || !runtimeReady) return;
    if (still !== null) {
      start();
      return;
    }
    byId("status").textContent = "Ready.";
    byId("start").hidden = false;
  }

  async function loadPack() {
    const response = await fetch("PACK.ZUL");
    if (!response.ok) throw new Error("PACK.ZUL: " + response.status + " " + response.statusText);
    const total = Number(response.headers.get("Content-Length")) || 0;
    const reader = response.body.getReader();
    const chunks = [];
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      chunks.push(value);
      received += value.length;
      if (total) byId("filled").style.width = Math.min(100, (100 * received) / total) + "%";
    }
    pack = new Uint8Array(received);
    let at = 0;
    for (const chunk of chunks) {
      pack.set(chunk, at);
      at += chunk.length;
    }
    byId("filled").style.width = "100%";
    offerStart();
  }

  window.Module = {
    canvas: byId("canvas"),
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    qz2Message: showMessage,
    onRuntimeInitialized: () => {
      runtimeReady = true;
      offerStart();
    },
    onExit: (code) => {
      Module.qz2ExitCode = code;
      byId("status").textContent = code === 0 ? "The show has ended." : "The show stopped (" + code + ").";
      byId("start").hidden = true;
      byId("front").hidden = false;
      if (Module.qz2Audio) Module.qz2Audio.close();
    },
  };

  window.addEventListener("resize", fitCanvas);
  fitCanvas();
  byId("start").addEventListener("click", start);
  byId("fullscreen").addEventListener("click", () => {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      document.documentElement.requestFullscreen();
    }
    byId("canvas").focus();
  });
  loadPack().catch((error) => {
    byId("status").textContent = "The show could not be loaded (" + error.message + ").";
  });
})();
