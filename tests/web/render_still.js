// Draws scenes' frames in the page, as qz2-tool render draws them natively: index.html?scene=N&still=T in headless
// Chromium, the canvas written to a PNG file, one browser for all the frames.
// Usage: node render_still.js SHOW_DIR render DATA_DIR --scene N --time T --out FILE.png [--scene N ...] (DATA_DIR
// is not read: the page plays its own PACK.ZUL; the arguments are qz2-tool's, so that both draw the same frames).
"use strict";
const fs = require("fs");
const { serve, openBrowser, waitFor } = require("./page.js");

// The frames named by the arguments, each from its --scene, --time and --out in turn.
function framesOf(argv) {
  const frames = [];
  let frame = {};
  for (let i = 3; i + 1 < argv.length; i += 2) {
    frame[argv[i].replace(/^--/, "")] = argv[i + 1];
    if (frame.scene !== undefined && frame.time !== undefined && frame.out !== undefined) {
      frames.push(frame);
      frame = {};
    }
  }
  return frames;
}

async function main(argv) {
  const server = await serve(argv[0]);
  const { browser, page } = await openBrowser();
  try {
    for (const { scene, time, out } of framesOf(argv)) {
      await page.goto(`http://127.0.0.1:${server.address().port}/index.html?scene=${scene}&still=${time}`);
      // The set-up's black frame, then the still drawn twice over: it is up once a few more frames have come.
      await waitFor(page, "(Module.qz2FramesShown || 0) >= 8", 120000);
      const png = await page.evaluate(() => document.getElementById("canvas").toDataURL("image/png"));
      fs.writeFileSync(out, Buffer.from(png.slice(png.indexOf(",") + 1), "base64"));
    }
  } finally {
    await browser.close();
    server.close();
  }
}

main(process.argv.slice(2)).catch((error) => {
  console.error("render_still: " + error.message);
  process.exit(1);
});
