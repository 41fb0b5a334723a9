// The show in the page, end to end: scene 1 letterboxed in a wide window; started at scene 8 with a click, Escape
// held for a moment skips to scene 9, which plays to its end; the program exits with 0 and its music reached Web
// Audio. Also measures what the closing note asks for: the time from the click to the first frame, and the frame
// time of scene 1.
// Usage: node play.js SHOW_DIR; prints the figures as JSON.
"use strict";
const { serve, openBrowser, waitFor } = require("./page.js");

const kLastSceneSeconds = 14;  // scene 9 of the default show
const kSampleRate = 44100;

// Opens the page at the scene, clicks start once it is offered and waits for the first frame; returns the page,
// the browser and the time from the click to that frame (ms).
async function startShow(port, scene, width, height) {
  const { browser, page } = await openBrowser(width, height);
  await page.goto(`http://127.0.0.1:${port}/index.html?scene=${scene}`);
  await page.waitForSelector("#start:not([hidden])", { timeout: 120000 });
  await page.click("#start");
  await waitFor(page, "(Module.qz2FramesShown || 0) >= 1", 60000);
  const firstFrame = await page.evaluate(() => performance.now() - Module.qz2StartedAt);
  return { browser, page, firstFrame };
}

async function frameTime(page, seconds) {
  const before = await page.evaluate(() => [Module.qz2FramesShown, performance.now()]);
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = await page.evaluate(() => [Module.qz2FramesShown, performance.now()]);
  return (after[1] - before[1]) / Math.max(1, after[0] - before[0]);
}

// The canvas's pixel at (x, y), red, green and blue.
function pixelAt(page, x, y) {
  return page.evaluate((x, y) => {
    const copy = document.createElement("canvas");
    copy.width = copy.height = 1;
    const context = copy.getContext("2d");
    context.drawImage(document.getElementById("canvas"), x, y, 1, 1, 0, 0, 1, 1);
    return Array.from(context.getImageData(0, 0, 1, 1).data.slice(0, 3));
  }, x, y);
}

async function main(folder) {
  const server = await serve(folder);
  const port = server.address().port;
  const figures = {};
  try {
    // Scene 1's frame time, once its set-up is done, in a window wider than 4:3: the picture (827 x 620) shows in
    // the middle between black bars.
    let show = await startShow(port, 1, 1000, 620);
    figures.clickToFirstFrameMs = Math.round(show.firstFrame);
    await new Promise((resolve) => setTimeout(resolve, 2000));
    figures.scene1FrameMs = Number((await frameTime(show.page, 3)).toFixed(1));
    const [bar, middle] = [await pixelAt(show.page, 40, 310), await pixelAt(show.page, 500, 500)];
    await show.browser.close();
    const problems = [];
    if (bar.some((c) => c > 0)) problems.push(`the bar is not black but ${bar}`);
    if (middle.every((c) => c < 32)) problems.push(`the picture's floor is black`);

    show = await startShow(port, 8);
    await new Promise((resolve) => setTimeout(resolve, 1000));
    // Escape goes down between two frames and up once the program has seen it and set scene 9 up: the program
    // yields to the page only once a frame, so the three frames it shows on the way (scene 8's last, the black
    // frames of the tear-down and the set-up) come in one go, and the key is up before scene 9's first frame.
    await show.page.evaluate(() => new Promise((resolve) => {
      const escape = (type) => document.dispatchEvent(new KeyboardEvent(type, { code: "Escape", key: "Escape" }));
      const shown = Module.qz2FramesShown;
      escape("keydown");
      const watch = () => {
        if (Module.qz2FramesShown < shown + 3) return requestAnimationFrame(watch);
        escape("keyup");
        resolve();
      };
      requestAnimationFrame(watch);
    }));
    const skipped = Date.now();
    await waitFor(show.page, "Module.qz2ExitCode !== undefined", (kLastSceneSeconds + 40) * 1000);
    const [code, samples, messages] = await show.page.evaluate(() => [
      Module.qz2ExitCode, Module.qz2SamplesPlayed || 0, document.getElementById("messages").textContent]);
    await show.browser.close();
    figures.lastSceneSeconds = Number(((Date.now() - skipped) / 1000).toFixed(1));
    figures.musicSeconds = Number((samples / kSampleRate).toFixed(1));
    if (code !== 0) problems.push(`the show exited with ${code}`);
    if (messages) problems.push(`the page showed: ${messages}`);
    // Scene 9 ran its whole length, and scene 8's did not come before it.
    if (figures.lastSceneSeconds < kLastSceneSeconds - 1) problems.push("scene 9 did not play to its end");
    if (figures.lastSceneSeconds > kLastSceneSeconds + 8) problems.push("Escape did not skip scene 8");
    if (figures.musicSeconds < kLastSceneSeconds / 2) problems.push("too little music reached Web Audio");
    console.log(JSON.stringify(figures));
    if (problems.length) throw new Error(problems.join("; "));
  } finally {
    server.close();
  }
}

main(process.argv[2]).catch((error) => {
  console.error("play: " + error.message);
  process.exit(1);
});
