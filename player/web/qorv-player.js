// The page side of the player. The host posts batches of operations (load a movie, set and get variables,
// call movie functions, stop); they run here one after the other, each in its own task, never inside one of
// Ruffle's callbacks (Ruffle cannot be re-entered from there). fscommands go back to the host in the order
// the movie sent them.
"use strict";

window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = { polyfills: false };

window.qorv = (() => {
    const bootTimeoutMs = 60000;
    const pollMs = 5;
    let host = null;
    const queue = [];
    let runScheduled = false;
    let movie = null; // { element, api, state: "booting" | "playing" | "failed", book, bootSeen, started }
    let outbox = [];
    let outboxChars = 0;
    let outboxScheduled = false;

    function log(text) {
        if (host) host.message(text);
    }

    // ---- files: Ruffle's fetches of file:// and of this page's own scheme go to the host through XHR,
    // because this web engine cannot fetch() a custom scheme. The response keeps the URL the movie asked
    // for, so the movie sees its own file:// address as its _url.
    const realFetch = window.fetch.bind(window);
    const fontCache = new Map();
    function servedUrl(url) {
        if (url.protocol === "file:") return location.protocol + "//" + location.host + url.pathname;
        if (url.protocol === location.protocol && url.host === location.host) return url.origin + url.pathname;
        return null;
    }
    function xhr(method, target, body) {
        return new Promise((resolve) => {
            const request = new XMLHttpRequest();
            request.open(method, target);
            request.responseType = "arraybuffer";
            request.onload = () => resolve(request);
            request.onerror = () => resolve(null);
            request.send(body);
        });
    }
    window.fetch = async function (input, init) {
        let request;
        try {
            request = new Request(input, init);
        } catch (e) {
            return realFetch(input, init);
        }
        const url = new URL(request.url);
        const target = servedUrl(url);
        if (target === null) return realFetch(request);
        const body = request.method === "GET" || request.method === "HEAD" ? null : await request.arrayBuffer();
        // Every new movie makes Ruffle read its fonts again; they do not change, so ask the host once.
        const cacheable = /\.(ttf|otf)$/i.test(url.pathname);
        let answer = cacheable ? fontCache.get(target) : undefined;
        if (answer === undefined) {
            answer = await xhr(request.method === "HEAD" ? "GET" : request.method, target, body);
            if (cacheable && answer && answer.response) fontCache.set(target, answer);
        }
        let response;
        if (answer && answer.response && (answer.status === 0 || answer.status === 200)) {
            response = new Response(answer.response, {
                status: 200,
                headers: {
                    "Content-Type": answer.getResponseHeader("Content-Type") || "application/octet-stream",
                    "Content-Length": String(answer.response.byteLength),
                },
            });
        } else {
            response = new Response(null, { status: 404, statusText: "Not Found" });
        }
        Object.defineProperty(response, "url", { value: request.url });
        return response;
    };

    // ---- problems shown instead of a movie
    function showProblem(text) {
        const box = document.getElementById("problem");
        box.textContent = text;
        box.style.display = "block";
    }
    function hideProblem() {
        document.getElementById("problem").style.display = "none";
    }
    function missing(file) {
        if (!host) return; // told again once the channel is up
        const text = "The player's files are incomplete: " + file + " could not be loaded.";
        showProblem(text);
        log(text);
    }

    // ---- fscommands, batched per task: a burst from one frame crosses to the host as one message
    function flushOutbox() {
        outboxScheduled = false;
        if (outbox.length === 0 || !host) return;
        const batch = outbox;
        outbox = [];
        outboxChars = 0;
        host.fsCommands(batch);
    }
    function onFSCommand(command, args) {
        outbox.push(String(command ?? ""), String(args ?? ""));
        outboxChars += outbox[outbox.length - 2].length + outbox[outbox.length - 1].length;
        if (outboxChars > 4 * 1024 * 1024) {
            flushOutbox();
        } else if (!outboxScheduled) {
            outboxScheduled = true;
            // Runs as soon as Ruffle's frame returns: everything the frame sent goes as one message.
            queueMicrotask(flushOutbox);
        }
        return true;
    }

    // ---- the movie
    function callMovie(name, ...args) {
        if (!movie || !movie.api) return undefined;
        try {
            return movie.api.callExternalInterface(name, ...args);
        } catch (e) {
            log("calling " + name + " failed: " + e);
            return undefined;
        }
    }
    function asText(value) {
        if (value === undefined || value === null) return "";
        return String(value);
    }
    function escapeXml(text) {
        return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
    }
    // The answer of a function call in the form the original control gave it.
    function asXml(value) {
        if (value === undefined) return "<undefined/>";
        if (value === null) return "<null/>";
        if (value === true) return "<true/>";
        if (value === false) return "<false/>";
        if (typeof value === "number") return "<number>" + value + "</number>";
        if (Array.isArray(value)) {
            return "<array>" + value.map((v, i) => '<property id="' + i + '">' + asXml(v) + "</property>").join("") + "</array>";
        }
        if (typeof value === "object") {
            return "<object>" + Object.keys(value).map((k) => '<property id="' + escapeXml(k) + '">' + asXml(value[k]) + "</property>").join("") + "</object>";
        }
        return "<string>" + escapeXml(String(value)) + "</string>";
    }

    function unload() {
        if (movie && movie.element) movie.element.remove();
        movie = null;
        hideProblem();
    }

    function isRootVariable(name) {
        return /^_level0\.[^.:\/]+$/.test(name);
    }

    function load(options) {
        unload();
        if (!window.RufflePlayer.newest) {
            missing("ruffle.js");
            return;
        }
        // Variables set together with the movie travel in its URL, so that its first frame already sees
        // them; later ones wait in the queue until the movie runs.
        let query = options.flashVars.replace(/#/g, "%23");
        while (queue.length > 0 && queue[0][0] === "set" && isRootVariable(queue[0][1])) {
            const [, name, value] = queue.shift();
            query += (query === "" ? "" : "&") + encodeURIComponent(name.substring(8)) + "=" + encodeURIComponent(asText(value));
        }
        const book = options.book + (query === "" ? "" : (options.book.includes("?") ? "&" : "?") + query);
        const element = window.RufflePlayer.newest().createPlayer();
        document.getElementById("stage").appendChild(element);
        const api = element.ruffle();
        element.onFSCommand = onFSCommand;
        movie = { element, api, state: "booting", book, bootSeen: false, started: performance.now() };
        const config = {
            url: options.bootstrap,
            parameters: { __qorv_book: book },
            base: options.base,
            allowScriptAccess: true,
            autoplay: "on",
            unmuteOverlay: "hidden",
            splashScreen: false,
            letterbox: "off",
            contextMenu: "off",
            warnOnUnsupportedContent: false,
            openUrlMode: "deny",
            menu: false,
            scale: options.scale,
            quality: "high",
            preferredRenderer: "canvas",
            // Korean fonts the host found; they stand in for the device fonts, which have no Hangul.
            fontSources: options.fontSources,
            defaultFonts: options.defaultFonts,
            urlRewriteRules: [],
            logLevel: "error",
        };
        if (options.backgroundColor) config.backgroundColor = options.backgroundColor;
        api.load(config).catch((e) => {
            const text = "Ruffle could not start the movie: " + e;
            log(text);
            fail(movie, text);
        });
        setTimeout(() => poll(movie), pollMs);
    }

    function fail(m, text) {
        if (movie !== m || m.state !== "booting") return;
        m.state = "failed";
        showProblem(text);
        schedule();
    }

    // The book replaces the bootstrap movie on level 0. While the bootstrap runs, its FlashVar __qorv_book
    // is readable; once it is gone the book runs.
    function poll(m) {
        if (movie !== m || m.state !== "booting") return;
        const seen = callMovie("__qorv_get", "_level0.__qorv_book");
        let started = false;
        if (typeof seen === "string" && seen !== "") {
            m.bootSeen = true;
        } else if (m.bootSeen) {
            started = true;
        } else if (callMovie("__qorv_set", "_level0.__qorv_probe", "") === true) {
            // The book took over before the bootstrap was ever seen.
            started = true;
        }
        if (started) {
            m.state = "playing";
            if (host) host.movieStarted();
            schedule();
            return;
        }
        if (performance.now() - m.started > bootTimeoutMs) {
            const text = "The movie did not start: " + decodeURI(m.book.split("?")[0]);
            log(text);
            fail(m, text);
            return;
        }
        setTimeout(() => poll(m), pollMs);
    }

    function execute(op) {
        switch (op[0]) {
        case "load":
            load(op[1]);
            break;
        case "blank":
            unload();
            break;
        case "error":
            unload();
            showProblem(op[1]);
            break;
        case "set":
            if (movie && movie.state === "playing") callMovie("__qorv_set", op[1], asText(op[2]));
            break;
        case "get":
            host.reply(op[1], movie && movie.state === "playing" ? asText(callMovie("__qorv_get", op[2])) : "");
            break;
        case "call":
            host.reply(op[1], movie && movie.state === "playing" ? asXml(callMovie(op[2], ...op[3].map(asText))) : "");
            break;
        case "stop":
            if (movie && movie.state === "playing") movie.api.suspend();
            break;
        case "scale":
            if (movie && movie.state === "playing") callMovie("__qorv_set", "Stage.scaleMode", op[1]);
            break;
        }
    }

    function opensNewMovie(op) {
        return op[0] === "load" || op[0] === "blank" || op[0] === "error";
    }

    function run() {
        runScheduled = false;
        while (queue.length > 0) {
            const op = queue[0];
            if (!opensNewMovie(op) && movie && movie.state === "booting") {
                // Calls for a movie that is replaced before it ever ran are answered empty and dropped.
                if (!queue.some(opensNewMovie)) return;
                if (op[0] === "get" || op[0] === "call") host.reply(op[1], "");
                queue.shift();
                continue;
            }
            queue.shift();
            execute(op);
        }
    }

    function schedule() {
        if (!runScheduled) {
            runScheduled = true;
            setTimeout(run, 0);
        }
    }

    function post(batch) {
        for (const op of batch) queue.push(op);
        schedule();
    }

    window.addEventListener("DOMContentLoaded", () => {
        new QWebChannel(qt.webChannelTransport, (channel) => {
            host = channel.objects.host;
            if (!window.RufflePlayer.newest) missing("ruffle.js");
            host.pageReady();
        });
    });

    return { post, missing };
})();
