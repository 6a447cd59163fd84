// Veltrin's page end to end, as a person uses it: Debian's Chromium, headless, driven through
// the DevTools protocol by puppeteer-core, on a static server of our own on 127.0.0.1.
// Colours are read from screenshots, messages from the dialog as a screen reader reads it,
// and the window as assistive technology sees it, from Chromium's accessibility tree.
//
//   node --test tests/e2e/web/web.test.mjs   with VELTRIN_PAGE=<folder of index.html>
//                                           and VELTRIN_GOLDEN=<tests/solver/golden.txt>

import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {inflateSync} from 'node:zlib';
import puppeteer from 'puppeteer-core';

const PAGE = process.env.VELTRIN_PAGE;
const STARTUP_TEXT =
    'This program uses the colors red, white, and blue to represent the differenct types of ' +
    'trees.\r\nClick on individual squares to change their colors to match what you see in the ' +
    "game.\r\nPress the 'Solve!' button, wait, and use the given combination in the game.\r\n" +
    '\r\nPlease direct all feedback to Veltrin maintainers (maintainers@veltrin.example)';
const PROMPT = 'To solve, use the following combination: ';
const NAMES = ['Top left', 'Top middle', 'Top right', 'Middle left', 'Middle center',
               'Middle right', 'Bottom left', 'Bottom center', 'Bottom right'];
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

function parseResult(text) {
    assert.ok(text.startsWith(PROMPT), text);
    const entries = text.slice(PROMPT.length).split('\r\n\r\n');
    assert.equal(entries.length, 10);
    assert.equal(entries[0], '');
    return entries.slice(1).map((entry, k) => {
        const m = entry.match(/^(.*) ([012]) time\(s\)$/);
        assert.ok(m && m[1] === NAMES[k], entry);
        return Number(m[2]);
    });
}

// ---- screenshots -----------------------------------------------------------------------

// The RGB pixels of a PNG as Chromium writes it (8-bit RGB or RGBA, not interlaced).
function decodePng(png) {
    const width = png.readUInt32BE(16), height = png.readUInt32BE(20);
    const channels = png[25] === 6 ? 4 : 3;
    const chunks = [];
    for (let at = 8; at < png.length;) {
        const length = png.readUInt32BE(at), type = png.toString('ascii', at + 4, at + 8);
        if (type === 'IDAT') chunks.push(png.subarray(at + 8, at + 8 + length));
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(chunks)), stride = width * channels;
    const out = Buffer.alloc(height * stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        for (let x = 0; x < stride; ++x) {
            const v = raw[y * (stride + 1) + 1 + x];
            const a = x >= channels ? out[y * stride + x - channels] : 0;
            const b = y > 0 ? out[(y - 1) * stride + x] : 0;
            const c = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
            const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const predictor = [0, a, b, (a + b) >> 1,
                               pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
            out[y * stride + x] = (v + predictor) & 0xFF;
        }
    }
    return {width, channels, out};
}

// ---- one page ---------------------------------------------------------------------------

let server, browser, origin;

before(async () => {
    server = createServer((request, response) => {
        const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
        try {
            const body = readFileSync(join(PAGE, name.replace(/\.\./g, '')));
            response.writeHead(200, {'Content-Type': name.endsWith('.html') ? 'text/html' :
                                                     'application/octet-stream'});
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    origin = `http://127.0.0.1:${server.address().port}`;
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
    static async open(page = 'index.html') {
        const v = new Veltrin();
        v.page = await browser.newPage();
        await v.page.goto(`${origin}/${page}`);
        v.startupWindowWasHidden = await v.page.$eval('#Form1', (f) => f.hidden);
        v.startupText = await v.readMessage();
        await v.page.waitForSelector('#Form1:not([hidden])');
        assert.equal(await v.board(), 'RRRRRRRRR');
        return v;
    }

    // The message's text as shown, one line a line, answered with OK; CR LF between lines.
    async readMessage() {
        await this.page.waitForSelector('dialog[open]', {timeout: 120000});
        const text = await this.page.$eval('#message-text', (p) => p.innerText);
        await this.page.click('dialog[open] button');
        await this.page.waitForSelector('dialog:not([open])');
        return text.replace(/\n/g, '\r\n');
    }

    async board() {
        const {width, channels, out} = decodePng(await this.page.screenshot());
        const boxes = await this.page.$$eval('.square', (s) => s.map((e) => {
            const r = e.getBoundingClientRect();
            return [Number(e.id.slice(1)), r.left + r.width / 2, r.top + r.height / 2];
        }));
        const board = [];
        for (const [k, x, y] of boxes) {
            const at = (Math.round(y) * width + Math.round(x)) * channels;
            board[k] = COLOURS[[out[at], out[at + 1], out[at + 2]].join()] || '?';
        }
        return board.join('');
    }

    async enter(wanted) {
        let current = await this.board();
        for (let k = 0; k < 9; ++k) {
            while (current[k] !== wanted[k]) {
                await this.page.click(`#S${k}`);
                current = current.slice(0, k) + advance(current[k]) + current.slice(k + 1);
            }
        }
        assert.equal(await this.board(), wanted);
    }

    async solve() {
        await this.page.click('#Command1');
        return this.readMessage();
    }

    close() {
        return this.page.close();
    }
}

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
    await v.close();
});

test('a fresh page gives the Linux build\'s combination, to the byte, and it solves the board',
     async () => {
    const first = golden.find((g) => g.trials > 0); // solved from a fresh generator
    for (let run = 0; run < 2; ++run) {
        const v = await Veltrin.open();
        await v.enter(first.board);
        // Ctrl+C in the message copies exactly its text.
        await v.page.click('#Command1');
        await v.page.waitForSelector('dialog[open]', {timeout: 120000});
        await v.page.keyboard.down('Control');
        await v.page.keyboard.press('c');
        await v.page.keyboard.up('Control');
        const copied = await v.page.evaluate(() => navigator.clipboard.readText());
        assert.equal(copied, first.text);
        assert.equal(await v.readMessage(), first.text);
        let replay = first.board;
        parseResult(first.text).forEach((n, p) => {
            for (let i = 0; i < n; ++i) replay = gamePress(replay, p);
        });
        assert.equal(new Set(replay).size, 1, replay);
        assert.equal(await v.board(), replay);
        await v.close();
    }
});

test('input during a search changes nothing, and an entered uniform board takes no press',
     async () => {
    const first = golden.find((g) => g.trials > 0); // solved from a fresh generator
    const v = await Veltrin.open();
    await v.enter(first.board);
    await v.page.click('#Command1');
    let rounds = 0;
    while (!(await v.page.$('dialog[open]'))) {
        for (let k = 0; k < 9; ++k) await v.page.click(`#S${k}`);
        await v.page.click('#Command1');
        await v.page.focus('#S0');
        await v.page.keyboard.press('Space');
        await v.page.keyboard.press('Enter');
        ++rounds;
    }
    console.log(`    ${rounds} rounds of input during a ${first.trials}-trial search`);
    assert.ok(rounds >= 2, String(rounds));
    assert.equal(await v.readMessage(), first.text);
    const uniform = await v.board();
    assert.equal(new Set(uniform).size, 1, uniform);
    assert.deepEqual(parseResult(await v.solve()), [0, 0, 0, 0, 0, 0, 0, 0, 0]);
    assert.equal(await v.board(), uniform);
    await v.close();
});

test('fifty searches keep memory flat', async () => {
    const v = await Veltrin.open();
    const boards = ['BRRRRRRRR', 'RRRRBRRRR', 'WRRRRRRRB', 'RWRWWWRWR', 'BBRRRRRRR'];
    const readings = [];
    for (let n = 0; n < 50; ++n) {
        await v.enter(boards[n % boards.length]);
        parseResult(await v.solve());
        if (n === 4 || n === 49) {
            const {JSHeapUsedSize} = await v.page.metrics();
            const wasm = await v.page.evaluate(() => HEAP8.length);
            readings.push({heap: JSHeapUsedSize, wasm});
        }
    }
    const mib = (b) => (b / 1048576).toFixed(2);
    console.log(`    JS heap after 5 searches ${mib(readings[0].heap)} MiB, after 50 ` +
                `${mib(readings[1].heap)} MiB; WebAssembly memory ${mib(readings[1].wasm)} MiB`);
    assert.equal(readings[1].wasm, readings[0].wasm);
    assert.ok(readings[1].heap - readings[0].heap < 4 * 1048576, JSON.stringify(readings));
    await v.close();
});

test('a screen reader sees the window, its buttons and the squares\' colours', async () => {
    const v = await Veltrin.open();
    const tree = async () => {
        const lines = [];
        const walk = (node, depth) => {
            if (!['generic', 'none', 'StaticText', 'InlineTextBox'].includes(node.role)) {
                lines.push(`${'  '.repeat(depth)}[${node.role}] '${node.name || ''}'` +
                           (node.description ? ` (${node.description})` : ''));
            }
            for (const child of node.children || []) walk(child, depth + 1);
        };
        walk(await v.page.accessibility.snapshot({interestingOnly: false}), 0);
        return lines;
    };
    const buttons = (lines) => lines.filter((l) => l.includes('[button]'))
        .map((l) => l.trim());
    let lines = await tree();
    console.log(lines.map((l) => '    ' + l).join('\n'));
    assert.ok(lines.some((l) => l.trim() === "[region] 'Veltrin Solver'"), lines.join('\n'));
    // In keyboard order, as the page reads: the Solve button, then the squares backwards.
    assert.deepEqual(buttons(lines), ["[button] 'Solve!'",
                     ...NAMES.map((n) => `[button] '${n}' (red)`).reverse()]);
    await v.page.click('#S4');
    lines = await tree();
    assert.ok(buttons(lines).includes("[button] 'Middle center' (blue)"), lines.join('\n'));
    // The messages are dialogs with their text.
    await v.page.click('#Command1');
    await v.page.waitForSelector('dialog[open]', {timeout: 120000});
    lines = await tree();
    assert.ok(lines.some((l) => l.trim().startsWith("[dialog] 'Veltrin' (To solve, use")),
              lines.join('\n'));
    await v.readMessage();
    const reached = await v.board();
    const colour = {R: 'red', B: 'blue', W: 'white'}[reached[0]];
    assert.equal(buttons(await tree()).filter((l) => l.endsWith(`(${colour})`)).length, 9);
    await v.close();
});
