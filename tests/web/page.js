// What the page tests share: a static server for the show's folder and headless Chromium drawing WebGL 2 through
// SwiftShader, driven by puppeteer-core.
"use strict";
const fs = require("fs");
const http = require("http");
const path = require("path");
const puppeteer = require("puppeteer-core");

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".css": "text/css" };

// Serves the folder on a free local port; resolves to the server.
function serve(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname).replace(/^\/+/, "");
    const file = path.join(root, name || "index.html");
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const body = fs.readFileSync(file);
    response.writeHead(200, {
      "Content-Type": kTypes[path.extname(file)] || "application/octet-stream",
      "Content-Length": body.length,
    });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// A page of the size (800 x 600 unless given) in headless Chromium, whose console problems are echoed.
async function openBrowser(width = 800, height = 600) {
  const browser = await puppeteer.launch({
    executablePath: process.env.QZ2_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--mute-audio",
           "--autoplay-policy=no-user-gesture-required"],
  });
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  // The runtime ends the program by throwing its exit status: that is no fault.
  page.on("pageerror", (error) => {
    if (error.message !== "ExitStatus") console.error("page: " + error.message);
  });
  page.on("console", (message) => {
    if (message.type() === "error") console.error("page console: " + message.text());
  });
  return { browser, page };
}

// Waits until the page's expression is true, polling once a frame; fails after the timeout (ms).
async function waitFor(page, expression, timeout) {
  await page.waitForFunction(expression, { timeout, polling: "raf" });
}

module.exports = { serve, openBrowser, waitFor };
