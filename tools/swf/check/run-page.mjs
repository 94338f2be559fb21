// Opens one page in headless Chromium through its debugging protocol, waits in real time until the page's
// log shows the end line (or the time runs out), prints the log and optionally saves a screenshot.
// Real time matters: Ruffle compiles its WebAssembly and fetches movies at their own pace, which a
// virtual-time budget races against.
//
// node --experimental-websocket run-page.mjs CHROMIUM PROFILE_DIR URL END_LINE TIMEOUT_MS [SCREENSHOT.png]
// The caller owns the (empty) profile folder and removes it afterwards.
import { spawn } from "node:child_process";
import { writeFileSync } from "node:fs";

const [chromium, profile, url, endLine, timeoutText, screenshot] = process.argv.slice(2);
const deadline = Date.now() + Number(timeoutText);
const browser = spawn(chromium, [
    "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", `--user-data-dir=${profile}`, "--allow-file-access-from-files",
    "--autoplay-policy=no-user-gesture-required", "--window-size=420,420", "--remote-debugging-port=0", "about:blank",
], { stdio: ["ignore", "ignore", "pipe"] });

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function finish(code) {
    browser.on("exit", () => process.exit(code));
    setTimeout(() => process.exit(code), 5000);
    browser.kill();
}

const endpoint = await new Promise((resolve, reject) => {
    let text = "";
    browser.stderr.on("data", (chunk) => {
        text += chunk;
        const match = text.match(/DevTools listening on (ws:\/\/\S+)/);
        if (match) resolve(match[1]);
    });
    browser.on("exit", () => reject(new Error("chromium exited before it listened")));
    setTimeout(() => reject(new Error("chromium did not start")), 30000);
});

const port = new URL(endpoint).port;
const pages = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
const page = pages.find((p) => p.type === "page");
const socket = new WebSocket(page.webSocketDebuggerUrl);
await new Promise((resolve) => socket.addEventListener("open", resolve));

let nextId = 1;
const pending = new Map();
socket.addEventListener("message", (event) => {
    const message = JSON.parse(event.data);
    if (message.id && pending.has(message.id)) {
        pending.get(message.id)(message);
        pending.delete(message.id);
    }
});
const send = (method, params = {}) =>
    new Promise((resolve) => {
        const id = nextId++;
        pending.set(id, resolve);
        socket.send(JSON.stringify({ id, method, params }));
    });

await send("Page.enable");
await send("Page.navigate", { url });
let log = "";
while (Date.now() < deadline) {
    await sleep(250);
    const answer = await send("Runtime.evaluate", {
        expression: "document.getElementById('log') ? document.getElementById('log').textContent : ''",
        returnByValue: true,
    });
    log = answer.result?.result?.value ?? "";
    if (log.split("\n").includes(endLine)) break;
}
if (screenshot) {
    await sleep(500); // one more frame after the last report
    const shot = await send("Page.captureScreenshot", { format: "png" });
    writeFileSync(screenshot, Buffer.from(shot.result.data, "base64"));
}
process.stdout.write(log);
socket.close();
finish(0);
