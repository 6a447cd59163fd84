// The window on the page: its controls, placed as the C++ side says, the squares' colours,
// and the clicks that go back to the exported veltrin_pressSquare and veltrin_solve.

mergeInto(LibraryManager.library, {
    $form1: {
        squares: [],
        controls: 0,
        colours: {}, // colour (0x00BBGGRR) -> {className, name}
        colourCount: 0,

        // A place on the window, in window units: a CSS pixel on a desktop, more on a touch
        // screen (shell.html).
        place: function (left, top, width, height) {
            var at = { left: left, top: top, width: width, height: height };
            return Object.keys(at)
                .map(function (side) {
                    return side + ':calc(var(--u) * ' + at[side] + ');';
                })
                .join('');
        },

        add: function (id, left, top, width, height) {
            var control = document.createElement('button');
            control.type = 'button';
            control.id = id;
            // Added in keyboard order; the first lies on top where controls overlap.
            control.style.cssText =
                form1.place(left, top, width, height) + 'z-index:' + (100 - form1.controls++);
            document.getElementById('Picture1').appendChild(control);
            return control;
        },

        locked: false,
        pending: [], // the colour each square is to show at the next frame, while locked
        frame: 0,

        // Writes the colours waiting for this frame, the last of each square (js_showSquare).
        showPending: function () {
            form1.frame = 0;
            form1.pending.forEach(function (colour, k) {
                var shown = form1.colours[colour];
                form1.squares[k].className = shown.className;
                form1.squares[k].setAttribute('aria-description', shown.name);
            });
            form1.pending = [];
        },

        css: function (colour) {
            var rgb = ((colour & 0xff) << 16) | (colour & 0xff00) | ((colour >> 16) & 0xff);
            return '#' + (0x1000000 + rgb).toString(16).slice(1);
        },
    },

    js_setWindow__deps: ['$form1'],
    js_setWindow: function (title, width, height) {
        document.title = UTF8ToString(title);
        document.querySelector('#Form1 h1').textContent = document.title;
        document.querySelector('#Form1 .client').style.cssText = form1.place(0, 0, width, height);
    },

    js_addBoardArea__deps: ['$form1'],
    js_addBoardArea: function (left, top, width, height) {
        document.getElementById('Picture1').style.cssText = form1.place(left, top, width, height);
    },

    js_addSquare__deps: ['$form1', '$application'],
    js_addSquare: function (k, left, top, width, height, name) {
        var square = form1.add('S' + k, left, top, width, height);
        square.setAttribute('aria-label', UTF8ToString(name));
        square.onclick = function () {
            if (application.idle()) {
                _veltrin_pressSquare(k);
            }
        };
        form1.squares[k] = square;
    },

    js_addButton__deps: ['$form1', '$application'],
    js_addButton: function (caption, left, top, width, height) {
        var button = form1.add('Command1', left, top, width, height);
        button.textContent = UTF8ToString(caption);
        button.onclick = function () {
            if (application.idle()) {
                application.carryOn(_veltrin_solve());
            }
        };
    },

    // Each colour of the table becomes a class, so that showing it is one write. The focus
    // mark is white or black, as C++ says stands out on it.
    js_addColour__deps: ['$form1'],
    js_addColour: function (colour, name, whiteFocusMark) {
        var className = 'colour' + form1.colourCount++;
        var sheet = document.getElementById('colours').sheet;
        sheet.insertRule('.square.' + className + ' { background: ' + form1.css(colour) + '; }');
        sheet.insertRule(
            '.square.' +
                className +
                ':focus-visible { outline-color: ' +
                (whiteFocusMark ? '#fff' : '#000') +
                '; }',
        );
        form1.colours[colour] = { className: 'square ' + className, name: UTF8ToString(name) };
    },

    // Square k shows the colour, and a screen reader tells it by its name: the description is
    // read when asked, never announced, as a search changes it tens of thousands of times.
    // While the board is locked for a search, the browser shows a change only at its next
    // frame, and a search makes many trials a frame: only the last colour of each square
    // before a frame is written, just before it.
    js_showSquare__deps: ['$form1'],
    js_showSquare: function (k, colour) {
        if (form1.locked) {
            form1.pending[k] = colour;
            if (!form1.frame) {
                form1.frame = requestAnimationFrame(form1.showPending);
            }
            return;
        }
        // Only the table's colours reach a square: each was registered by js_addColour.
        var shown = form1.colours[colour];
        form1.squares[k].className = shown.className;
        form1.squares[k].setAttribute('aria-description', shown.name);
    },

    js_lockBoard__deps: ['$form1'],
    js_lockBoard: function (locked) {
        form1.locked = locked;
        if (!locked) {
            cancelAnimationFrame(form1.frame);
            form1.showPending();
        }
        document.getElementById('Picture1').classList.toggle('locked', locked);
    },

    js_showWindow: function () {
        document.getElementById('Form1').hidden = false;
    },
});
