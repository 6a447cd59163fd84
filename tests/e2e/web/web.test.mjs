// Veltrin's page end to end, as a person uses it: Debian's Chromium, headless, driven through
// the DevTools protocol by puppeteer-core, on a static server of our own on 127.0.0.1.
// Colours are read from screenshots (decoded by pngjs), messages from the dialog as a screen
// reader reads it, and the window as assistive technology sees it, from Chromium's
// accessibility tree.
//
//   node --test tests/e2e/web/web.test.mjs   with VELTRIN_PAGE=<folder of index.html>
//                                           and VELTRIN_GOLDEN=<tests/solver/golden.txt>

import assert from 'node:assert/strict';
import {cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {createServer} from 'node:http';
import {extname, join} from 'node:path';
import {after, before, test} from 'node:test';
import {PNG} from 'pngjs';
import puppeteer from 'puppeteer-core';

const PAGE = process.env.VELTRIN_PAGE;
// The texts the page shows, as every harness expects them.
const TEXTS = JSON.parse(readFileSync(new URL('../../texts.json', import.meta.url), 'ascii'));
const {startUp: STARTUP_TEXT, prompt: PROMPT, squareNames: NAMES} = TEXTS;
const {windowTitle: WINDOW_TITLE, appTitle: APP_TITLE, solveCaption: SOLVE} = TEXTS;
const COLOURS = {'255,0,0': 'R', '0,0,255': 'B', '255,255,255': 'W'};

// ---- the game, from its rules ----------------------------------------------------------

const advance = (c) => 'RBW'['RBW'.indexOf(c) + 1] || 'R';

function gamePress(board, p) {
    const b = [...board];
    const r = Math.floor(p / 3), c = p % 3;
    for (const [dr, dc] of [[0, 0], [0, -1], [0, 1], [-1, 0], [1, 0]]) {
        if (r + dr >= 0 && r + dr < 3 && c + dc >= 0 && c + dc < 3) {
            b[(r + dr) * 3 + c + dc] = advance(b[(r + dr) * 3 + c + dc]);
        }
    }
    return b.join('');
}

// The press counts a combination text gives, square by square.
const countsIn = (text) => [...text.matchAll(/ ([012]) time\(s\)/g)].map((m) => Number(m[1]));

// ---- one page ---------------------------------------------------------------------------

let server, browser, origin;

const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
               '.webmanifest': 'application/manifest+json'};

// A static server of the folder `dir` on 127.0.0.1, as a static host serves the page.
async function serve(dir) {
    const s = createServer((request, response) => {
        const name = new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html');
        try {
            const body = readFileSync(join(dir, name.replace(/\.\./g, '')));
            response.writeHead(200, {'Content-Type': TYPES[extname(name)] ||
                                                     'application/octet-stream'});
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((resolve) => s.listen(0, '127.0.0.1', resolve));
    s.origin = `http://127.0.0.1:${s.address().port}`;
    s.stop = () => { s.close(); s.closeAllConnections(); };
    return s;
}

before(async () => {
    server = await serve(PAGE);
    origin = server.origin;
    browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        // The machine's network is closed: no background connections to be refused.
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    await browser.defaultBrowserContext().overridePermissions(origin,
        ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
});

after(async () => {
    await browser?.close();
    server?.close();
});

class Veltrin {
    // A new tab on `url` (the page on our server unless told), through the start-up message
    // to the window. `touch`: a phone's screen, used by touch.
    static async open(url = `${origin}/index.html`, {touch = false} = {}) {
        const v = new Veltrin();
        v.page = await browser.newPage();
        v.touch = touch;
        if (touch) {
            await v.page.emulate({
                viewport: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true,
                           hasTouch: true},
                userAgent: (await browser.userAgent()).replace('Headless', '') + ' Mobile',
            });
        }
        await v.load(url);
        return v;
    }

    // Loads `url`, or the same page again, and answers the start-up message.
    async load(url) {
        await (url ? this.page.goto(url) : this.page.reload());
        this.startupWindowWasHidden = await this.page.$eval('#Form1', (f) => f.hidden);
        this.startupText = await this.readMessage();
        await this.page.waitForSelector('#Form1:not([hidden])');
        assert.equal(await this.board(), 'RRRRRRRRR');
    }

    // A click, or a tap at the middle of the control on a touch screen.
    async press(selector) {
        if (!this.touch) {
            return this.page.click(selector);
        }
        const box = await (await this.page.$(selector)).boundingBox();
        await this.page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
    }

    // The message's text as shown, one line a line, answered with OK; CR LF between lines.
    async readMessage() {
        await this.page.waitForSelector('dialog[open]', {timeout: 120000});
        const text = await this.page.$eval('#message-text', (p) => p.innerText);
        this.dialogBox = await this.page.$eval('dialog[open]', (d) => {
            const r = d.getBoundingClientRect();
            return {left: r.left, right: r.right, top: r.top, bottom: r.bottom};
        });
        await this.press('dialog[open] button');
        await this.page.waitForSelector('dialog:not([open])');
        return text.replace(/\n/g, '\r\n');
    }

    async board() {
        const {width, data} = PNG.sync.read(Buffer.from(await this.page.screenshot()));
        const scale = width / await this.page.evaluate(() => innerWidth);
        const boxes = await this.page.$$eval('.square', (s) => s.map((e) => {
            const r = e.getBoundingClientRect();
            return [Number(e.id.slice(1)), r.left + r.width / 2, r.top + r.height / 2];
        }));
        const board = [];
        for (const [k, x, y] of boxes) {
            const at = (Math.round(y * scale) * width + Math.round(x * scale)) * 4; // RGBA
            board[k] = COLOURS[[data[at], data[at + 1], data[at + 2]].join()] || '?';
        }
        return board.join('');
    }

    async enter(wanted) {
        let current = await this.board();
        for (let k = 0; k < 9; ++k) {
            while (current[k] !== wanted[k]) {
                await this.press(`#S${k}`);
                current = current.slice(0, k) + advance(current[k]) + current.slice(k + 1);
            }
        }
        assert.equal(await this.board(), wanted);
    }

    async solve() {
        await this.press('#Command1');
        return this.readMessage();
    }

    close() {
        return this.page.close();
    }
}

// The boards a fresh run solves one after another, as the core recorded them: the first is
// uniform and takes no trial, so the second is solved from a fresh generator.
const golden = readFileSync(process.env.VELTRIN_GOLDEN, 'latin1').split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map((line) => {
        const [board, trials, ...text] = line.split(' ');
        return {board, trials: Number(trials), text: text.join(' ').replace(/\\r\\n/g, '\r\n')};
    });

// ---- the cases --------------------------------------------------------------------------

test('the start-up message comes first and is exact; clicks cycle only the clicked square',
     async () => {
    const v = await Veltrin.open();
    assert.ok(v.startupWindowWasHidden, 'the window was up before the start-up message');
    assert.equal(v.startupText, STARTUP_TEXT);
    let model = 'RRRRRRRRR';
    for (const k of [4, 0, 8, 4, 4, 2, 6, 1, 3, 5, 7, 8, 8]) {
        await v.page.click(`#S${k}`);
        model = model.slice(0, k) + advance(model[k]) + model.slice(k + 1);
        assert.equal(await v.board(), model);
    }
    // A double click is two clicks.
    await v.page.click('#S0', {count: 2});
    model = advance(advance(model[0])) + model.slice(1);
    assert.equal(await v.board(), model);
    await v.close();
});

test('a fresh page gives the recorded combinations, to the byte, whatever is clicked meanwhile',
     async () => {
    // The first searches of a fresh run, as the core recorded them: a uniform board first,
    // which takes no press. During each search a restless user clicks every square and
    // Solve, and presses keys on a square.
    const v = await Veltrin.open();
    let rounds = 0;
    for (const search of golden.slice(0, 4)) {
        await v.enter(search.board);
        await v.page.click('#Command1');
        while (search.trials > 0 && !(await v.page.$('dialog[open]'))) {
            for (let k = 0; k < 9; ++k) await v.page.click(`#S${k}`);
            await v.page.click('#Command1');
            await v.page.focus('#S0');
            await v.page.keyboard.press('Space');
            await v.page.keyboard.press('Enter');
            ++rounds;
        }
        // Ctrl+C in the message copies exactly its text.
        await v.page.waitForSelector('dialog[open]', {timeout: 120000});
        await v.page.keyboard.down('Control');
        await v.page.keyboard.press('c');
        await v.page.keyboard.up('Control');
        assert.equal(await v.page.evaluate(() => navigator.clipboard.readText()), search.text);
        assert.equal(await v.readMessage(), search.text);
        let replay = search.board;
        countsIn(search.text).forEach((n, p) => {
            for (let i = 0; i < n; ++i) replay = gamePress(replay, p);
        });
        assert.equal(new Set(replay).size, 1, replay);
        assert.equal(await v.board(), replay);
    }
    console.log(`    ${rounds} rounds of input during three searches`);
    await v.close();
});

test('fifty searches keep memory flat', async () => {
    // What matters is fifty full rounds of search, message and OK, not long searches. Memory
    // is read after a garbage collection: the JS heap, and the top of the C++ heap (sbrk(0)),
    // which moves only when what C++ holds grows.
    const v = await Veltrin.open();
    const cdp = await v.page.createCDPSession();
    const readings = [];
    for (let n = 0; n < 50; ++n) {
        await v.page.click(`#S${n % 9}`); // one square off the uniform board a search leaves
        assert.ok((await v.solve()).startsWith(PROMPT));
        if (n === 4 || n === 49) {
            await cdp.send('HeapProfiler.collectGarbage');
            const {JSHeapUsedSize} = await v.page.metrics();
            readings.push({js: JSHeapUsedSize, cpp: await v.page.evaluate(() => _sbrk(0))});
        }
    }
    const kib = (b) => (b / 1024).toFixed(0);
    console.log(`    after 5 and 50 searches: JS heap ${kib(readings[0].js)} and ` +
                `${kib(readings[1].js)} KiB, top of the C++ heap ${readings[0].cpp} and ` +
                `${readings[1].cpp}`);
    assert.ok(readings[1].cpp - readings[0].cpp < 256 * 1024, JSON.stringify(readings));
    assert.ok(readings[1].js - readings[0].js < 256 * 1024, JSON.stringify(readings));
    await v.close();
});

test('a screen reader sees the window, its buttons and the squares\' colours', async () => {
    const v = await Veltrin.open();
    // Chromium's accessibility tree, one node a line: role, name, and description if any.
    const tree = async () => {
        const lines = [];
        const walk = (node) => {
            lines.push(`[${node.role}] '${node.name || ''}'` +
                       (node.description ? ` (${node.description})` : ''));
            (node.children || []).forEach(walk);
        };
        walk(await v.page.accessibility.snapshot({interestingOnly: false}));
        return lines;
    };
    const buttons = async () => (await tree()).filter((l) => l.startsWith('[button]'));
    const lines = await tree();
    assert.ok(lines.includes(`[region] '${WINDOW_TITLE}'`), lines.join('\n'));
    // In keyboard order, as the page reads: the Solve button, then the squares backwards.
    assert.deepEqual(await buttons(), [`[button] '${SOLVE}'`,
                     ...NAMES.map((n) => `[button] '${n}' (red)`).reverse()]);
    await v.page.click('#S4');
    assert.ok((await buttons()).includes("[button] 'Middle center' (blue)"));
    // The messages are dialogs with their text.
    await v.page.click('#Command1');
    await v.page.waitForSelector('dialog[open]', {timeout: 120000});
    assert.ok((await tree()).some((l) => l.startsWith(`[dialog] '${APP_TITLE}' (${PROMPT}`)));
    await v.readMessage();
    const colour = {R: 'red', B: 'blue', W: 'white'}[(await v.board())[0]];
    assert.equal((await buttons()).filter((l) => l.endsWith(`(${colour})`)).length, 9);
    await v.close();
});

// ---- the page as an app -------------------------------------------------------------------

test('served from 127.0.0.1 it installs as an app, named and drawn as the window', async () => {
    const v = await Veltrin.open();
    const cdp = await v.page.createCDPSession();
    const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    const manifest = JSON.parse((await cdp.send('Page.getAppManifest')).data);
    assert.equal(manifest.name, WINDOW_TITLE);
    assert.equal(manifest.short_name, APP_TITLE);
    assert.equal(manifest.display, 'standalone');
    const icons = manifest.icons.map((i) => `${i.sizes} ${i.purpose || 'any'}`);
    assert.deepEqual(icons, ['192x192 any', '512x512 any', '512x512 maskable']);
    for (const icon of manifest.icons) {
        const png = Buffer.from(await (await fetch(new URL(icon.src, v.page.url()))).arrayBuffer());
        assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes);
    }
    await v.close();
});

test('once visited, a changed page shows at the next load; with the server gone it still works',
     async () => {
    const dir = mkdtempSync(join(tmpdir(), 'veltrin-page-'));
    cpSync(PAGE, dir, {recursive: true});
    const own = await serve(dir);
    try {
        const v = await Veltrin.open(`${own.origin}/`);
        // Once its service worker controls the page, loads go through the worker.
        await v.page.evaluate(() => navigator.serviceWorker.ready);
        await v.page.waitForFunction(() => navigator.serviceWorker.controller);
        const html = readFileSync(join(dir, 'index.html'), 'utf8');
        writeFileSync(join(dir, 'index.html'),
                      html.replace('<title>', '<meta name="edition" content="2"><title>'));
        await v.load();
        assert.equal(await v.page.$$eval('meta[name=edition]', (m) => m.length), 1);
        own.stop();
        await v.load();
        await v.enter(golden[1].board);
        assert.equal(await v.solve(), golden[1].text);
        await v.close();
    } finally {
        own.stop();
        rmSync(dir, {recursive: true});
    }
});

test('at a phone\'s size, by touch: taps cycle and solve, nothing scrolls sideways, messages fit',
     async () => {
    const v = await Veltrin.open(`${origin}/`, {touch: true});
    const fits = async () => {
        const {width, height, scroll} = await v.page.evaluate(() => ({
            width: innerWidth, height: innerHeight,
            scroll: document.documentElement.scrollWidth}));
        assert.ok(scroll <= width, `the page is ${scroll} px wide on a ${width} px screen`);
        const box = v.dialogBox;
        assert.ok(box.left >= 0 && box.right <= width && box.top >= 0 && box.bottom <= height,
                  JSON.stringify(box));
    };
    await fits(); // the start-up message
    await v.enter(golden[1].board);
    assert.equal(await v.solve(), golden[1].text);
    await fits();
    await v.close();
});
