// Draws a scene's frame in the page, as qz2-tool render draws it natively: index.html?scene=N&still=T in headless
// Chromium, the canvas written to a PNG file.
// Usage: node render_still.js SHOW_DIR render DATA_DIR --scene N --time T --out FILE.png (DATA_DIR is not read:
// the page plays its own PACK.ZUL; the arguments are qz2-tool's, so that both draw the same frames).
"use strict";
const fs = require("fs");
const { serve, openBrowser, waitFor } = require("./page.js");

async function main(argv) {
  const option = (name) => argv[argv.indexOf(name) + 1];
  const [folder, scene, time, out] = [argv[0], option("--scene"), option("--time"), option("--out")];
  const server = await serve(folder);
  const { browser, page } = await openBrowser();
  try {
    const url = `http://127.0.0.1:${server.address().port}/index.html?scene=${scene}&still=${time}`;
    await page.goto(url);
    // The set-up's black frame, then the still drawn twice over: it is up once a few more frames have come.
    await waitFor(page, "(Module.qz2FramesShown || 0) >= 8", 120000);
    const png = await page.evaluate(() => document.getElementById("canvas").toDataURL("image/png"));
    fs.writeFileSync(out, Buffer.from(png.slice(png.indexOf(",") + 1), "base64"));
  } finally {
    await browser.close();
    server.close();
  }
}

main(process.argv.slice(2)).catch((error) => {
  console.error("render_still: " + error.message);
  process.exit(1);
});
