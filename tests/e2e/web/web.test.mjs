// Veltrin's page end to end, as a person uses it, in one browser engine (engines.mjs):
// Chromium, Firefox or WebKit, on a static server of our own on 127.0.0.1. Colours are read
// from screenshots (decoded by pngjs), messages from the dialog as a screen reader reads it,
// and, in Chromium, the window as assistive technology sees it, from its accessibility tree.
// What an engine cannot do over its protocol runs in the others, and the skipped case says
// where.
//
//   node --test tests/e2e/web/web.test.mjs   with VELTRIN_ENGINE=chromium|firefox|webkit,
//                                           VELTRIN_PAGE=<folder of index.html>
//                                           and VELTRIN_GOLDEN=<tests/solver/golden.txt>

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { PNG } from 'pngjs';
import { LACKS, launchChromium, startEngine } from './engines.mjs';

const ENGINE = process.env.VELTRIN_ENGINE || 'chromium';
const PAGE = process.env.VELTRIN_PAGE;
// The texts the page shows, as every harness expects them.
const TEXTS = JSON.parse(readFileSync(new URL('../../texts.json', import.meta.url), 'utf8'));
const { startUp: STARTUP_TEXT, prompt: PROMPT, squareNames: NAMES } = TEXTS;
const { windowTitle: WINDOW_TITLE, appTitle: APP_TITLE, solveCaption: SOLVE } = TEXTS;
const COLOURS = { '255,0,0': 'R', '0,0,255': 'B', '255,255,255': 'W' };

const advance = (c) => 'RBW'['RBW'.indexOf(c) + 1] || 'R';

// ---- one page ---------------------------------------------------------------------------

let server, engine, origin;

const TYPES = {
    '.html': 'text/html',
    '.js': 'text/javascript',
    '.png': 'image/png',
    '.webmanifest': 'application/manifest+json',
};

// A static server of the folder `dir` on 127.0.0.1, as a static host serves the page.
async function serve(dir) {
    const s = createServer((request, response) => {
        const name = new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html');
        try {
            const body = readFileSync(join(dir, name.replace(/\.\./g, '')));
            const type = TYPES[extname(name)] || 'application/octet-stream';
            response.writeHead(200, { 'Content-Type': type }).end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((resolve) => s.listen(0, '127.0.0.1', resolve));
    s.origin = `http://127.0.0.1:${s.address().port}`;
    s.stop = () => {
        s.close();
        s.closeAllConnections();
    };
    return s;
}

before(async () => {
    server = await serve(PAGE);
    origin = server.origin;
    engine = await startEngine(ENGINE, origin);
});

after(async () => {
    await engine?.stop();
    server?.close();
});

// A case that needs what `ENGINE` cannot do is skipped, naming where it runs instead.
function needs(facility) {
    const reason = LACKS[ENGINE][facility];
    const where = Object.keys(LACKS)
        .filter((e) => !LACKS[e][facility])
        .map((e) => `e2e.${e}`)
        .join(' and ');
    return reason ? { skip: `${reason}; this case runs in ${where}` } : {};
}

class Veltrin {
    // A new tab on `url` (the page on our server unless told), through the start-up message
    // to the window. `phone`: a phone's screen, used by touch.
    static async open(url = `${origin}/index.html`, { phone = false } = {}) {
        const v = new Veltrin();
        v.tab = await engine.open({ phone });
        v.phone = phone;
        await v.load(url);
        return v;
    }

    // Loads `url`, or the same page again, and answers the start-up message.
    async load(url) {
        await (url ? this.tab.goto(url) : this.tab.reload());
        this.startupWindowWasHidden = await this.tab.evaluate(
            () => document.getElementById('Form1').hidden,
        );
        this.startupText = await this.readMessage();
        await this.waitFor(() => !document.getElementById('Form1').hidden, 'the window');
        assert.equal(await this.board(), 'RRRRRRRRR');
    }

    // Waits until `condition` holds in the page; fails naming `what` it waited for.
    async waitFor(condition, what, timeout = 10000) {
        for (const end = Date.now() + timeout; !(await this.tab.evaluate(condition));) {
            assert.ok(Date.now() < end, `${what} did not come in ${timeout} ms`);
            await new Promise((resolve) => setTimeout(resolve, 20));
        }
    }

    // Whether a message is up. Conditions in the page answer with booleans: Firefox's
    // protocol gives no element back.
    messageUp() {
        return this.tab.evaluate(() => Boolean(document.querySelector('dialog[open]')));
    }

    waitForMessage() {
        return this.waitFor(
            () => Boolean(document.querySelector('dialog[open]')),
            'a message',
            30000,
        );
    }

    // A click at the middle of the control (`count` of them), or a tap on a phone. Returns
    // when it was sent (Date.now()).
    async press(selector, count = 1) {
        const [x, y] = await this.tab.evaluate((s) => {
            const r = document.querySelector(s).getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];
        }, selector);
        const sent = Date.now();
        await (this.phone ? this.tab.tap(x, y) : this.tab.click(x, y, count));
        return sent;
    }

    // The message's text as shown, one line a line, answered with OK; CR LF between lines.
    async readMessage() {
        await this.waitForMessage();
        [this.messageText, this.dialogBox] = await this.tab.evaluate(() => {
            const r = document.querySelector('dialog[open]').getBoundingClientRect();
            return [
                document.getElementById('message-text').innerText,
                { left: r.left, right: r.right, top: r.top, bottom: r.bottom },
            ];
        });
        // The page takes input again as soon as the message is gone from the screen.
        await this.press('dialog[open] button');
        await this.waitFor(() => !document.querySelector('dialog[open]'), 'the message closed');
        return this.messageText.replace(/\n/g, '\r\n');
    }

    // The squares' colours as the screen shows them, read at their middles.
    async board() {
        const { width, data } = PNG.sync.read(await this.tab.screenshot());
        const [boxes, viewport] = await this.tab.evaluate(() => [
            [...document.querySelectorAll('.square')].map((e) => {
                const r = e.getBoundingClientRect();
                return [Number(e.id.slice(1)), r.left + r.width / 2, r.top + r.height / 2];
            }),
            innerWidth,
        ]);
        const scale = width / viewport;
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
        return this.tab.close();
    }
}

// The boards a fresh run solves one after another, as the core recorded them, each with the
// board its search leaves: the first is uniform and takes no trial, so the second is solved
// from a fresh generator.
const golden = readFileSync(process.env.VELTRIN_GOLDEN, 'latin1')
    .split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map((line) => {
        const [board, trials, solved, ...text] = line.split(' ');
        const shown = text.join(' ').replace(/\\r\\n/g, '\r\n');
        return { board, trials: Number(trials), solved, text: shown };
    });

// Where each of the nine squares and the window lie, and how far the page scrolls.
const layout = (page) =>
    page.evaluate(() => {
        const box = (e) => {
            const { left, top, right, bottom, width, height } = e.getBoundingClientRect();
            return { left, top, right, bottom, width, height };
        };
        const squares = [...Array(9).keys()].map((k) => box(document.getElementById(`S${k}`)));
        const form = box(document.getElementById('Form1'));
        return {
            width: innerWidth,
            height: innerHeight,
            form,
            squares,
            board:
                Math.max(...squares.map((s) => s.right)) - Math.min(...squares.map((s) => s.left)),
            scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
            titleBar: box(document.querySelector('#Form1 h1')).height,
        };
    });

// The docs' screenshot docs/screenshot-NAME.png: the window on `page` with `margin` CSS pixels
// of the page about it, at twice the pixels, compared with the committed picture (or, with
// VELTRIN_SCREENSHOTS=write, written afresh) by the end-to-end suite's own comparison.
async function docsScreenshot(page, name, margin) {
    const clip = await page.evaluate((m) => {
        const r = document.getElementById('Form1').getBoundingClientRect();
        const x = Math.max(0, r.left - m),
            y = Math.max(0, r.top - m);
        return { x, y, width: r.right + m - x, height: r.bottom + m - y, scale: 2 };
    }, margin);
    const compared = spawnSync('/usr/bin/python3', ['-m', 'veltrin_e2e.screenshot', name], {
        input: await page.screenshot({ clip }),
        env: { ...process.env, PYTHONPATH: fileURLToPath(new URL('..', import.meta.url)) },
    });
    assert.equal(compared.status, 0, String(compared.stderr));
    console.log(`    ${String(compared.stdout).trim()}`);
}

// ---- the cases --------------------------------------------------------------------------

test(
    'the start-up message comes first and is exact; the window keeps its desktop look, as ' +
        'the docs show it; clicks cycle only the clicked square',
    async () => {
        const v = await Veltrin.open();
        assert.ok(v.startupWindowWasHidden, 'the window was up before the start-up message');
        assert.equal(v.startupText, STARTUP_TEXT);
        const d = await layout(v.tab);
        assert.deepEqual(
            d.squares.map((s) => [
                s.left - d.squares[0].left,
                s.top - d.squares[0].top,
                s.width,
                s.height,
            ]),
            [...Array(9).keys()].map((k) => [(k % 3) * 40, Math.floor(k / 3) * 40, 41, 41]),
        );
        assert.ok(d.titleBar > 0, "a desktop tab shows the window's title bar");
        let model = 'RRRRRRRRR';
        for (const k of [4, 0, 8, 4, 4, 2, 6, 1, 3, 5, 7, 8, 8]) {
            await v.press(`#S${k}`);
            model = model.slice(0, k) + advance(model[k]) + model.slice(k + 1);
            assert.equal(await v.board(), model);
        }
        // A double click is two clicks.
        await v.press('#S0', 2);
        model = advance(advance(model[0])) + model.slice(1);
        assert.equal(await v.board(), model);
        // The window in a tab, as the docs show it (in Chromium).
        if (ENGINE === 'chromium') {
            await v.enter('RBWWBRBRW');
            await docsScreenshot(v.tab.page, 'web', 16);
        }
        await v.close();
    },
);

// How long clicks may take to reach the page while a search runs, the driver's own time
// included, half of them at least (a busy machine delays a few). The page gives the browser
// a turn after every trial, which takes well under a millisecond: only a page that held
// input for many trials takes that long.
const CLICK_DELAY_MS = 500;

test(
    'a search lets the browser breathe: the board moves, clicks reach the page and are ' +
        'refused, and a fresh page gives the recorded combinations, to the byte',
    async () => {
        // During each search a restless user clicks every square and Solve: a click let through
        // would change the board under the search, and so its combination. A page that kept
        // the browser's event loop to itself would still give the same combinations: what
        // tells is that the clicks reach the page and the board changes on the screen.
        const v = await Veltrin.open();
        await v.tab.evaluate(() => {
            // Every mouse button pressed on the page: when, and whether a search had the board.
            window.presses = [];
            addEventListener(
                'mousedown',
                () =>
                    window.presses.push({
                        at: Date.now(),
                        searching: document.getElementById('Picture1').classList.contains('locked'),
                    }),
                true,
            );
        });
        // Search after search of the recording (each takes well under a second in a fast
        // engine), until every control was clicked mid-search and a look caught the board moving.
        const controls = [...NAMES.keys()].map((k) => `#S${k}`).concat('#Command1');
        const delays = [],
            boards = [],
            clicked = new Set();
        let clicks = 0;
        for (const search of golden) {
            if (clicked.size === controls.length && boards.includes(true)) break;
            await v.enter(search.board);
            await v.tab.evaluate(() => {
                window.presses = [];
            });
            const sent = [[await v.press('#Command1')]];
            while (!(await v.messageUp())) {
                // Each click on the control after the last one clicked, search after search.
                const control = controls[clicks++ % controls.length];
                sent.push([await v.press(control), control]);
                // The board as the screen shows it, if the search still ran after the look.
                const board = await v.board();
                if (!(await v.messageUp())) boards.push(board !== search.board);
            }
            // One press reaches the page for each click sent, in order.
            (await v.tab.evaluate(() => window.presses)).forEach((p, i) => {
                if (!p.searching) return;
                delays.push(p.at - sent[i][0]);
                clicked.add(sent[i][1]);
            });
            // Ctrl+C in the message copies exactly its text.
            await v.tab.press('c', true);
            assert.equal(await v.tab.clipboard(), search.text);
            assert.equal(await v.readMessage(), search.text);
            assert.equal(await v.board(), search.solved);
        }
        const changed = boards.filter((b) => b).length;
        const median = delays.sort((a, b) => a - b)[delays.length >> 1];
        console.log(
            `    during the searches: ${delays.length} clicks reached the page, half ` +
                `within ${median} ms, all within ${delays.at(-1)} ms; the board changed in ` +
                `${changed} of ${boards.length} looks`,
        );
        assert.deepEqual([...clicked].sort(), [...controls].sort(), 'clicked during a search');
        assert.ok(median < CLICK_DELAY_MS, `half the clicks took ${median} ms or more`);
        assert.ok(boards.includes(true), 'the board did not change on the screen during a search');
        await v.close();
    },
);

// One press of the game on a board: the square and those left, right, above and below it.
const gamePress = (board, k) =>
    [...board]
        .map((c, j) =>
            j === k ||
            Math.abs(j - k) === 3 ||
            (Math.abs(j - k) === 1 && (j / 3) >> 0 === (k / 3) >> 0)
                ? advance(c)
                : c,
        )
        .join('');

test('Space and Enter on a focused square during a search are refused', async () => {
    // From a fresh page this board takes 64,138 trials, about a second: the keys, sent as the
    // search starts, come while it runs. A key let through would press the square under the
    // search, and the combination it reports would no longer solve the board entered.
    const entered = 'WRBBBWRBW';
    const v = await Veltrin.open();
    await v.enter(entered);
    await v.tab.evaluate(() => {
        // Every key pressed on the page, and whether a search had the board.
        window.keys = [];
        addEventListener(
            'keydown',
            (e) => {
                const locked = document.getElementById('Picture1').classList.contains('locked');
                window.keys.push(
                    `${e.key === ' ' ? 'Space' : e.key} ${locked ? 'during' : 'after'}`,
                );
            },
            true,
        );
    });
    await v.press('#Command1');
    await v.tab.evaluate(() => document.getElementById('S4').focus());
    await v.tab.press(' ');
    await v.tab.press('Enter');
    const keys = await v.tab.evaluate(() => window.keys);
    assert.deepEqual(keys, ['Space during', 'Enter during'], 'the keys and the search');
    const counts = [...(await v.readMessage()).matchAll(/ ([012]) time\(s\)/g)].map((m) => m[1]);
    let reached = entered;
    counts.forEach((n, k) => {
        for (let i = 0; i < n; ++i) reached = gamePress(reached, k);
    });
    assert.match(reached, /^(R{9}|B{9}|W{9})$/, `the combination leaves ${reached}`);
    await v.close();
});

test('fifty searches keep memory flat', needs('heap'), async () => {
    // What matters is fifty full rounds of search, message and OK, not long searches. Memory
    // is read after a garbage collection: the JS heap, and the top of the C++ heap (sbrk(0)),
    // which moves only when what C++ holds grows.
    const v = await Veltrin.open();
    const cdp = await v.tab.page.createCDPSession();
    const readings = [];
    for (let n = 0; n < 50; ++n) {
        await v.press(`#S${n % 9}`); // one square off the uniform board a search leaves
        assert.ok((await v.solve()).startsWith(PROMPT));
        if (n === 4 || n === 49) {
            await cdp.send('HeapProfiler.collectGarbage');
            const { JSHeapUsedSize } = await v.tab.page.metrics();
            readings.push({ js: JSHeapUsedSize, cpp: await v.tab.evaluate(() => _sbrk(0)) });
        }
    }
    const kib = (b) => (b / 1024).toFixed(0);
    console.log(
        `    after 5 and 50 searches: JS heap ${kib(readings[0].js)} and ` +
            `${kib(readings[1].js)} KiB, top of the C++ heap ${readings[0].cpp} and ` +
            `${readings[1].cpp}`,
    );
    assert.ok(readings[1].cpp - readings[0].cpp < 256 * 1024, JSON.stringify(readings));
    assert.ok(readings[1].js - readings[0].js < 256 * 1024, JSON.stringify(readings));
    await v.close();
});

test(
    "a screen reader sees the window, its buttons and the squares' colours",
    needs('accessibility'),
    async () => {
        const v = await Veltrin.open();
        // Chromium's accessibility tree, one node a line: role, name, and description if any.
        const tree = async () => {
            const lines = [];
            const walk = (node) => {
                lines.push(
                    `[${node.role}] '${node.name || ''}'` +
                        (node.description ? ` (${node.description})` : ''),
                );
                (node.children || []).forEach(walk);
            };
            walk(await v.tab.page.accessibility.snapshot({ interestingOnly: false }));
            return lines;
        };
        const buttons = async () => (await tree()).filter((l) => l.startsWith('[button]'));
        const lines = await tree();
        assert.ok(lines.includes(`[region] '${WINDOW_TITLE}'`), lines.join('\n'));
        // In keyboard order, as the page reads: the Solve button, then the squares backwards.
        assert.deepEqual(await buttons(), [
            `[button] '${SOLVE}'`,
            ...NAMES.map((n) => `[button] '${n}' (red)`).reverse(),
        ]);
        await v.press('#S4');
        assert.ok((await buttons()).includes("[button] 'Middle center' (blue)"));
        // The messages are dialogs with their text.
        await v.press('#Command1');
        await v.waitForMessage();
        assert.ok((await tree()).some((l) => l.startsWith(`[dialog] '${APP_TITLE}' (${PROMPT}`)));
        await v.readMessage();
        const colour = { R: 'red', B: 'blue', W: 'white' }[(await v.board())[0]];
        assert.equal((await buttons()).filter((l) => l.endsWith(`(${colour})`)).length, 9);
        await v.close();
    },
);

// ---- languages ----------------------------------------------------------------------------

// The result a Polish user reads for the search whose English text is given: the same counts,
// in Polish words, each count in the form Polish gives it.
const polish = (english) =>
    TEXTS.pl.prompt +
    [...english.matchAll(/ ([012]) time\(s\)/g)]
        .map((m, k) => `\r\n\r\n${TEXTS.pl.squareNames[k]} ${TEXTS.pl.times[m[1]]}`)
        .join('');

// What the page shows of its language, for a screen reader and to the eye.
const shownLanguage = (tab) =>
    tab.evaluate(() => ({
        lang: document.documentElement.lang,
        caption: document.querySelector('#Form1 h1').textContent,
        title: document.title,
        solve: document.getElementById('Command1').textContent,
        names: [...document.querySelectorAll('.square')]
            .sort((a, b) => a.id.localeCompare(b.id))
            .map((e) => `${e.getAttribute('aria-label')} (${e.getAttribute('aria-description')})`),
        injected: document.querySelectorAll('img, script:not([src])').length,
    }));

test(
    'a link asking for Polish gets Polish: the start-up message, caption and squares, a ' +
        "search's result line by line and copied, each count in its own form; nonsense gets English",
    async () => {
        const pl = TEXTS.pl;
        const v = await Veltrin.open(`${origin}/index.html?lang=pl`);
        assert.equal(v.startupText, pl.startUp);
        const shown = await shownLanguage(v.tab);
        assert.deepEqual(shown, {
            lang: 'pl',
            caption: pl.windowTitle,
            title: pl.windowTitle,
            solve: pl.solveCaption,
            names: pl.squareNames.map((name) => `${name} (${pl.colours.R})`),
            injected: shown.injected, // the page's own, compared below
        });
        const search = golden.find((s) => s.trials);
        await v.enter(search.board);
        await v.press('#Command1');
        await v.waitForMessage();
        await v.tab.press('c', true);
        assert.equal(await v.tab.clipboard(), polish(search.text));
        assert.deepEqual((await v.readMessage()).split('\r\n'), polish(search.text).split('\r\n'));
        await v.close();
        // Whatever the address asks for is never written into the page.
        const odd = encodeURIComponent('<img src=x onerror="document.title=1">');
        const en = await Veltrin.open(`${origin}/index.html?lang=${odd}`);
        assert.equal(en.startupText, STARTUP_TEXT);
        assert.deepEqual(await shownLanguage(en.tab), {
            lang: 'en',
            caption: WINDOW_TITLE,
            title: WINDOW_TITLE,
            solve: SOLVE,
            names: NAMES.map((name) => `${name} (red)`),
            injected: shown.injected,
        });
        await en.close();
    },
);

test("without a link's choice, the browser's languages choose", needs('languages'), async () => {
    const v = new Veltrin();
    v.tab = await engine.open();
    const cdp = await v.tab.page.createCDPSession();
    const userAgent = await v.tab.evaluate(() => navigator.userAgent);
    await cdp.send('Network.setUserAgentOverride', { userAgent, acceptLanguage: 'pt-PT,pl' });
    await v.load(`${origin}/index.html`);
    assert.equal(v.startupText, TEXTS.pl.startUp); // no Portuguese of Portugal: the next
    await v.close();
});

// Every language the page speaks, and the pseudo-language's longer, accented texts, which
// show where the layout is tight: reported, as they are no language's.
const LANGUAGES = readFileSync(new URL('../../../po/LINGUAS', import.meta.url), 'utf8')
    .split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map((language) => language.replace('_', '-'))
    .concat(['en', 'en@pseudo']);

test(
    "a phone's board fills its width and is in view sideways; every language fits: Solve!, " +
        'and the whole result on a phone both ways up',
    needs('coarsePointer'),
    async () => {
        // Layout alone is measured here, so the page's own clicks do: input has its cases.
        const click = (tab, selector) =>
            tab.evaluate((s) => document.querySelector(s).click(), selector);
        const open = async (v, url) => {
            await v.tab.goto(url);
            await v.waitForMessage();
            await click(v.tab, 'dialog[open] button');
        };
        const tight = [];
        const phone = await Veltrin.open(`${origin}/index.html`, { phone: true });
        // A phone's board fills its width; turned sideways the whole window is in view, and
        // a tap still reaches the square it lands on.
        const portrait = await layout(phone.tab);
        assert.ok(portrait.board >= 0.75 * portrait.width, JSON.stringify(portrait));
        assert.ok(portrait.squares.every((s) => s.width >= 44 && s.height >= 44));
        await phone.tab.turn();
        const landscape = await layout(phone.tab);
        const { form, width, height, scroll } = landscape;
        assert.ok(
            form.left >= 0 &&
                form.top >= 0 &&
                form.right <= width &&
                form.bottom <= height &&
                scroll[0] <= width &&
                scroll[1] <= height &&
                landscape.squares.every((s) => s.width >= 44),
            JSON.stringify(landscape),
        );
        await phone.press('#S4');
        assert.equal(await phone.board(), 'RRRRBRRRR');
        await phone.tab.turn(false);
        for (const [i, language] of LANGUAGES.entries()) {
            const overflows = [];
            await open(phone, `${origin}/index.html?lang=${language}`);
            // On a phone the window is the desktop's, larger, its text as much: what fits
            // here fits there.
            const solve = await phone.tab.evaluate(() => {
                const button = document.getElementById('Command1');
                return [button.scrollWidth, button.clientWidth];
            });
            if (solve[0] > solve[1]) overflows.push(`Solve! ${solve[0]} px in ${solve[1]}`);
            // Turned at each look, so each language starts the way the last one ended.
            for (const sideways of [i % 2 === 1, i % 2 === 0]) {
                await click(phone.tab, '#Command1'); // the board is uniform: the result at once
                await phone.waitForMessage();
                const message = await phone.tab.evaluate(() => {
                    const box = document.querySelector('dialog[open]').getBoundingClientRect();
                    const text = document.getElementById('message-text');
                    return {
                        inside:
                            box.top >= 0 && box.bottom <= innerHeight && box.right <= innerWidth,
                        scrolls: text.scrollHeight > text.clientHeight,
                    };
                });
                if (!message.inside || message.scrolls) {
                    const way = sideways ? 'sideways' : 'upright';
                    overflows.push(`the result on a phone ${way}: ${JSON.stringify(message)}`);
                }
                await click(phone.tab, 'dialog[open] button');
                await phone.tab.turn(!sideways);
            }
            if (language === 'en@pseudo') {
                tight.push(...overflows);
            } else {
                assert.deepEqual(overflows, [], language);
            }
        }
        await phone.close();
        console.log(`    the pseudo-language: ${tight.join('; ') || 'fits everywhere'}`);
    },
);

// ---- the page as an app -------------------------------------------------------------------

// A PNG's size as a manifest gives it ("192x192"), read from its header.
async function pngSize(url) {
    const png = Buffer.from(await (await fetch(url)).arrayBuffer());
    return `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`;
}

test(
    'served from 127.0.0.1 it installs as an app, named and drawn as the window; installed, ' +
        'it draws no title bar of its own; iPhones get its icon',
    needs('install'),
    async () => {
        const v = await Veltrin.open();
        const cdp = await v.tab.page.createCDPSession();
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
        const manifest = JSON.parse((await cdp.send('Page.getAppManifest')).data);
        assert.equal(manifest.name, WINDOW_TITLE);
        assert.equal(manifest.short_name, APP_TITLE);
        assert.equal(manifest.display, 'standalone');
        const icons = manifest.icons.map((i) => `${i.sizes} ${i.purpose || 'any'}`);
        assert.deepEqual(icons, ['192x192 any', '512x512 any', '512x512 maskable']);
        for (const icon of manifest.icons) {
            assert.equal(await pngSize(new URL(icon.src, origin)), icon.sizes);
        }
        await v.close();
        // A window opened with --app is what an installed app runs in: display-mode standalone.
        const app = await launchChromium([`--app=${origin}/`], { defaultViewport: null });
        try {
            const target = await app.waitForTarget((t) => t.url().startsWith(origin));
            const page = await target.page();
            await page.waitForSelector('dialog[open]');
            await page.click('dialog[open] button');
            await page.waitForSelector('#Form1:not([hidden])');
            assert.ok(await page.evaluate(() => matchMedia('(display-mode: standalone)').matches));
            assert.equal((await layout(page)).titleBar, 0);
            await docsScreenshot(page, 'web-app', 0);
            const icon = await page.$eval('link[rel=apple-touch-icon]', (l) => l.href);
            assert.equal(await pngSize(icon), '180x180');
        } finally {
            await app.close();
        }
    },
);

test('once visited, a changed page shows at the next load; with the server gone it still works', async () => {
    const dir = mkdtempSync(join(tmpdir(), 'veltrin-page-'));
    cpSync(PAGE, dir, { recursive: true });
    const own = await serve(dir);
    try {
        const v = await Veltrin.open(`${own.origin}/`);
        // Once its service worker controls the page, loads go through the worker.
        await v.waitFor(() => Boolean(navigator.serviceWorker.controller), 'the service worker');
        const html = readFileSync(join(dir, 'index.html'), 'utf8');
        writeFileSync(
            join(dir, 'index.html'),
            html.replace('<title>', '<meta name="edition" content="2"><title>'),
        );
        await v.load();
        assert.ok(
            await v.tab.evaluate(() => Boolean(document.querySelector('meta[name=edition]'))),
        );
        own.stop();
        await v.load();
        await v.press('#S4');
        assert.equal(await v.board(), 'RRRRBRRRR');
        await v.close();
    } finally {
        own.stop();
        rmSync(dir, { recursive: true });
    }
});

test(
    "at a phone's size, by touch: taps cycle and solve, nothing scrolls sideways, messages fit",
    needs('phone'),
    async () => {
        const v = await Veltrin.open(`${origin}/`, { phone: true });
        const fits = async () => {
            const { width, height, scroll } = await layout(v.tab);
            assert.ok(scroll[0] <= width, `the page is ${scroll[0]} px wide, the screen ${width}`);
            const box = v.dialogBox;
            assert.ok(
                box.left >= 0 && box.right <= width && box.top >= 0 && box.bottom <= height,
                JSON.stringify(box),
            );
        };
        await fits(); // the start-up message
        await v.enter(golden[1].board);
        assert.equal(await v.solve(), golden[1].text);
        await fits();
        await v.close();
    },
);
