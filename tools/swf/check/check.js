// Plays one movie in Ruffle and writes every fscommand and callback result into <pre id="log">, one line
// each, for check-in-ruffle.sh to read; "end" follows the last expected report. The page's query names
// the scenario.
"use strict";

const log = (line) => {
    document.getElementById("log").textContent += line + "\n";
};

window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
    polyfills: false,
    autoplay: "on",
    allowScriptAccess: true,
    unmuteOverlay: "hidden",
    splashScreen: false,
    letterbox: "off",
    contextMenu: "off",
    warnOnUnsupportedContent: false,
    openUrlMode: "deny",
    menu: false,
    preferredRenderer: "canvas",
    deviceFontRenderer: "canvas",
};

// Ruffle ignores synthetic events that miss its canvas, so aim at the element under the point.
function click(player, x, y) {
    const rect = player.getBoundingClientRect();
    const options = {
        bubbles: true, composed: true, clientX: rect.left + x, clientY: rect.top + y,
        pointerId: 1, pointerType: "mouse", isPrimary: true, button: 0,
    };
    const target = player.shadowRoot.elementFromPoint(rect.left + x, rect.top + y) || player;
    target.dispatchEvent(new PointerEvent("pointermove", { ...options, buttons: 0 }));
    setTimeout(() => {
        target.dispatchEvent(new PointerEvent("pointerdown", { ...options, buttons: 1 }));
        setTimeout(() => target.dispatchEvent(new PointerEvent("pointerup", { ...options, buttons: 0 })), 100);
    }, 100);
}

// The colour Ruffle's canvas shows at a stage point, as #rrggbb.
function pixel(player, x, y) {
    const canvas = player.shadowRoot.querySelector("canvas");
    if (!canvas) {
        return "no canvas";
    }
    const scale = canvas.width / canvas.getBoundingClientRect().width;
    const data = canvas.getContext("2d").getImageData(Math.round(x * scale), Math.round(y * scale), 1, 1).data;
    return "#" + [data[0], data[1], data[2]].map((v) => v.toString(16).padStart(2, "0")).join("");
}

// Whether anything but the background colour is drawn inside a stage rectangle (text shows as ink).
function inked(player, x, y, width, height) {
    const canvas = player.shadowRoot.querySelector("canvas");
    const scale = canvas.width / canvas.getBoundingClientRect().width;
    const data = canvas.getContext("2d").getImageData(x * scale, y * scale, width * scale, height * scale).data;
    let count = 0;
    for (let i = 0; i < data.length; i += 4) {
        if (data[i] < 128 && data[i + 1] < 128) {
            ++count;
        }
    }
    return count > 20 ? "yes" : "no";
}

window.addEventListener("error", (e) => log("error " + e.message));

window.addEventListener("DOMContentLoaded", () => {
    const scenario = new URLSearchParams(location.search).get("scenario");
    const player = window.RufflePlayer.newest().createPlayer();
    player.style.width = "400px";
    player.style.height = "300px";
    document.getElementById("stage").appendChild(player);
    const api = () => player.ruffle();

    player.onFSCommand = (command, args) => {
        log("fscommand " + command + "=" + args);
        if (scenario === "display" && command === "hello") {
            setTimeout(() => {
                log("pixel rectangle=" + pixel(player, 100, 60));
                log("pixel second rectangle=" + pixel(player, 290, 60));
                log("pixel button up=" + pixel(player, 80, 180));
                log("ink device text=" + inked(player, 20, 222, 150, 30));
                log("ink hangul text=" + inked(player, 20, 130, 50, 28));
                click(player, 80, 180);
            }, 300);
        }
        if (scenario === "display" && command === "clicked") {
            setTimeout(() => {
                log("pixel button over=" + pixel(player, 80, 180));
                log("pixel removed=" + pixel(player, 355, 165));
                log("pixel moved away=" + pixel(player, 255, 165));
                log("pixel moved to=" + pixel(player, 290, 170));
                log("end");
            }, 300);
        }
        if (scenario === "bootstrap" && command === "seen") {
            log("end");
        }
        if (scenario === "bootstrap" && command === "book_loaded") {
            // Calls into the movie may not run inside this handler.
            setTimeout(() => {
                try {
                    log("set " + api().callExternalInterface("__qorv_set", "_level0.greeting", "hi \uD55C\uAE00"));
                    log("get " + api().callExternalInterface("__qorv_get", "_level0.bookVar"));
                    log("get missing " + api().callExternalInterface("__qorv_get", "_level0.nothing"));
                } catch (e) {
                    log("error " + e);
                }
            }, 0);
        }
        return true;
    };

    if (scenario === "display") {
        api().load({ url: "display.swf" });
    } else if (scenario === "bootstrap") {
        const book = new URL("book.swf", location.href).href;
        api().load({ url: "bootstrap.swf", parameters: "__qorv_book=" + encodeURIComponent(book) });
    }
});
