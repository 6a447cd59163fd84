// The three browser engines people use, from Debian's packages, each behind the same small
// adapter, so that every case runs unchanged in all of them. An engine starts a browser, or
// a session in one, and opens tabs; a tab loads a URL, runs a script in the page, clicks or
// taps at a point of the viewport, presses a key, and takes a screenshot (PNG). Nothing
// here downloads a browser or a driver.
//
//   chromium  Debian's Chromium, over the DevTools protocol (puppeteer-core)
//   firefox   Debian's Firefox ESR, over WebDriver BiDi (puppeteer-core)
//   webkit    Debian's WebKitGTK MiniBrowser, over W3C WebDriver (selenium-webdriver's
//             protocol client alone), through a WebKitWebDriver of our own on an X server of
//             our own: WebKitGTK has no headless mode

import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { Key, WebDriver } from 'selenium-webdriver';
import { Executor, HttpClient } from 'selenium-webdriver/http/index.js';

// A phone's screen in portrait, as puppeteer emulates it: a touch screen and a coarse pointer.
export const PHONE = {
    width: 390,
    height: 844,
    deviceScaleFactor: 3,
    isMobile: true,
    hasTouch: true,
};

// A tab of a browser driven by puppeteer-core.
const puppeteerTab = (page) => ({
    page,
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    click: (x, y, count = 1) => page.mouse.click(x, y, { count }),
    tap: (x, y) => page.touchscreen.tap(x, y),
    // The phone turned sideways, or back upright.
    turn: (sideways = true) =>
        page.setViewport(sideways ? { ...PHONE, width: PHONE.height, height: PHONE.width } : PHONE),
    // `key` by its DOM name ('Enter', ' ', 'c'); `ctrl` held down around it.
    async press(key, ctrl = false) {
        if (ctrl) await page.keyboard.down('Control');
        await page.keyboard.press(key);
        if (ctrl) await page.keyboard.up('Control');
    },
    screenshot: async () => Buffer.from(await page.screenshot()),
    clipboard: () => page.evaluate(() => navigator.clipboard.readText()),
    close: () => page.close(),
});

// A browser driven by puppeteer-core; `phone`: a tab with a phone's screen in portrait, used
// by touch where the engine can say so.
const puppeteerEngine = (browser) => ({
    async open({ phone = false } = {}) {
        const page = await browser.newPage();
        if (phone) await page.setViewport(PHONE);
        return puppeteerTab(page);
    },
    stop: () => browser.close(),
});

// A window of the WebKit session: W3C WebDriver has one session of windows, one of them
// current, and a test uses one at a time.
function webDriverTab(webkit) {
    const driver = webkit.session;
    const evaluate = (fn, ...args) =>
        driver.executeScript(`return (${fn}).apply(null, arguments);`, ...args);
    return {
        goto: (url) => driver.get(url),
        reload: () => driver.navigate().refresh(),
        evaluate,
        click(x, y, count = 1) {
            const actions = driver
                .actions()
                .move({ x: Math.round(x), y: Math.round(y), duration: 0 });
            for (let i = 0; i < count; ++i) actions.press().release();
            return actions.perform();
        },
        press(key, ctrl = false) {
            const name = { ' ': Key.SPACE, Enter: Key.ENTER }[key] || key;
            const actions = driver.actions();
            if (ctrl) actions.keyDown(Key.CONTROL);
            actions.keyDown(name).keyUp(name);
            if (ctrl) actions.keyUp(Key.CONTROL);
            return actions.perform();
        },
        // WebKit copies what it last drew: a change is drawn at the next frame.
        async screenshot() {
            await evaluate(
                () =>
                    new Promise((drawn) =>
                        requestAnimationFrame(() => requestAnimationFrame(drawn)),
                    ),
            );
            return Buffer.from(await driver.takeScreenshot(), 'base64');
        },
        // WebDriver gives the page no leave to read the clipboard: it is read from the X server,
        // where the browser put it.
        clipboard: () =>
            spawnSync('xclip', ['-selection', 'clipboard', '-o'], {
                env: webkit.env,
                encoding: 'utf8',
            }).stdout,
        async close() {
            await driver.close();
            await driver.switchTo().window(webkit.first);
        },
    };
}

class WebKit {
    static async start() {
        const w = new WebKit();
        // Xvfb names its display on the descriptor it is given once it accepts connections.
        w.xvfb = spawn(
            'Xvfb',
            ['-displayfd', '3', '-noreset', '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
            { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] },
        );
        w.display = await new Promise((resolve, reject) => {
            w.xvfb.stdio[3].once('data', (d) => resolve(`:${String(d).trim()}`));
            w.xvfb.once('exit', () => reject(new Error('Xvfb ended before it was ready')));
        });
        // On our display alone, whatever session the tests were started from, and with a
        // throw-away home for the browser's cache and data.
        w.home = mkdtempSync(join(tmpdir(), 'veltrin-webkit-'));
        w.env = {
            ...process.env,
            LANGUAGE: '',
            LC_ALL: 'C.UTF-8',
            DISPLAY: w.display,
            GDK_BACKEND: 'x11',
            XDG_CACHE_HOME: w.home,
            XDG_DATA_HOME: w.home,
            XDG_CONFIG_HOME: w.home,
        };
        delete w.env.WAYLAND_DISPLAY;
        const port = await freePort();
        w.driver = spawn('WebKitWebDriver', [`--port=${port}`], { env: w.env, stdio: 'ignore' });
        const url = `http://127.0.0.1:${port}`;
        const answers = () =>
            fetch(`${url}/status`)
                .then((r) => r.ok)
                .catch(() => false);
        for (let tries = 0; !(await answers());) {
            if (++tries > 200) throw new Error('WebKitWebDriver did not answer in 10 s');
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
        // The protocol client alone: selenium-webdriver's Builder would look for drivers and
        // browsers with its selenium-manager, which downloads them.
        w.session = await WebDriver.createSession(new Executor(new HttpClient(url)), {
            browserName: 'MiniBrowser',
            'webkitgtk:browserOptions': {
                binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                args: ['--automation'],
            },
        });
        w.first = await w.session.getWindowHandle();
        return w;
    }

    async open() {
        // A window: MiniBrowser hides a tab in the background, and takes no clicks there.
        await this.session.switchTo().newWindow('window');
        return webDriverTab(this);
    }

    async stop() {
        await this.session?.quit().catch(() => {});
        this.driver?.kill();
        this.xvfb?.kill();
        if (this.home) rmSync(this.home, { recursive: true, force: true });
    }
}

// A port nobody listens on, for WebKitWebDriver, which takes its port from its caller.
async function freePort() {
    const s = createServer();
    await new Promise((resolve) => s.listen(0, '127.0.0.1', resolve));
    const { port } = s.address();
    await new Promise((resolve) => s.close(resolve));
    return port;
}

// What one engine cannot do over its protocol, each with the reason a skipped case gives.
export const LACKS = {
    chromium: {},
    firefox: {
        accessibility: 'no accessibility tree over WebDriver BiDi in Firefox',
        heap: 'no heap reading over WebDriver BiDi in Firefox',
        install: 'Firefox installs no web apps',
        languages: "Firefox's languages are set for the whole browser, at its launch",
        coarsePointer: "Firefox's phone emulation has no coarse pointer",
    },
    webkit: {
        accessibility: 'no accessibility tree over WebDriver in WebKit',
        heap: 'no heap reading over WebDriver in WebKit',
        install: 'WebKitGTK installs no web apps',
        languages: "WebKitGTK's languages are the whole session's",
        phone: 'no phone screen or touch over WebDriver in WebKitGTK',
        coarsePointer: 'no phone screen or touch over WebDriver in WebKitGTK',
    },
};

// Debian's Chromium, headless, with `args` of the caller's.
export function launchChromium(args = [], options = {}) {
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        // The machine's network is closed: no background connections to be refused.
        args: [
            '--no-sandbox',
            '--disable-gpu',
            '--disable-quic',
            '--no-first-run',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
            // English, whatever this machine's locale is; a case that wants another asks.
            '--lang=en-US',
            ...args,
        ],
        ...options,
    });
}

// Starts `name`'s browser; its tabs go to `origin`'s clipboard with leave to read it.
export async function startEngine(name, origin) {
    if (name === 'webkit') {
        return WebKit.start();
    }
    if (name === 'firefox') {
        return puppeteerEngine(
            await puppeteer.launch({
                browser: 'firefox',
                protocol: 'webDriverBiDi',
                executablePath: '/usr/bin/firefox-esr',
                headless: true,
                // Reading the clipboard from a script otherwise waits for a click on "Paste".
                extraPrefsFirefox: {
                    'dom.events.testing.asyncClipboard': true,
                    'intl.accept_languages': 'en-US',
                },
            }),
        );
    }
    const browser = await launchChromium();
    await browser
        .defaultBrowserContext()
        .overridePermissions(origin, [
            'clipboard-read',
            'clipboard-write',
            'clipboard-sanitized-write',
        ]);
    return puppeteerEngine(browser);
}
