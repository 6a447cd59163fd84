// The page's side of the platform operations: every call the C++ front end makes into the
// page (page.h), and all the DOM work. The page calls back only through the exported
// _veltrin_pressSquare and _veltrin_solve.

mergeInto(LibraryManager.library, {
  $veltrin: {
    squares: [],
    // C++ is waiting on the page (a message, a search's event pass): no calls in. This is
    // what keeps clicks and keys out of a search, as a disabled board does.
    busy: true,
    stopped: false,
    wake: null,

    place: function (element, ints, at) {
      element.style.left = HEAP32[(ints >> 2) + at] + 'px';
      element.style.top = HEAP32[(ints >> 2) + at + 1] + 'px';
      element.style.width = HEAP32[(ints >> 2) + at + 2] + 'px';
      element.style.height = HEAP32[(ints >> 2) + at + 3] + 'px';
    },

    // A click from the page, unless C++ is busy.
    call: function (name, args) {
      if (veltrin.busy || veltrin.stopped) {
        return;
      }
      veltrin.busy = true;
      Promise.resolve(ccall(name, null, args.map(function () { return 'number'; }), args,
                            {async: true}))
        .then(function () { veltrin.busy = false; });
    },

    // Square k shows the colour (0x00BBGGRR), and a screen reader tells it by its name: the
    // description is read when asked, never announced, as a search changes it tens of
    // thousands of times. The table's colours are classes, one write for the look.
    paint: function (k, colour, name) {
      var square = veltrin.squares[k];
      var known = {0x0000FF: 'red', 0xFF0000: 'blue', 0xFFFFFF: 'white'}[colour];
      if (known) {
        square.className = 'square ' + known;
        square.style.backgroundColor = '';
      } else {
        var rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
        square.className = 'square';
        square.style.backgroundColor = '#' + (0x1000000 + rgb).toString(16).slice(1);
      }
      square.setAttribute('aria-description', name);
    },

    // A modal message; `done` runs once the user has dismissed it.
    message: function (text, done) {
      var dialog = document.getElementById('message');
      dialog.querySelector('p').textContent = text.replace(/\r\n/g, '\n');
      dialog.exact = text;
      dialog.onclose = function () { dialog.onclose = null; done(); };
      dialog.showModal();
      dialog.querySelector('button').focus();
    },
  },

  js_createWindow__deps: ['$veltrin'],
  js_createWindow: function (title, caption, client, board, squares, button, names, order,
                             count) {
    var form = document.getElementById('Form1');
    document.title = UTF8ToString(title);
    form.querySelector('h1').textContent = document.title;
    var area = form.querySelector('.client');
    area.style.width = HEAP32[(client >> 2) + 2] + 'px';
    area.style.height = HEAP32[(client >> 2) + 3] + 'px';
    var picture = document.getElementById('Picture1');
    veltrin.place(picture, board, 0);
    // In keyboard order; the first lies on top where controls overlap.
    for (var i = 0; i < count; ++i) {
      var k = HEAP32[(order >> 2) + i];
      var control = document.createElement('button');
      control.type = 'button';
      control.style.zIndex = String(count - i);
      if (k < 0) {
        control.id = 'Command1';
        control.textContent = UTF8ToString(caption);
        veltrin.place(control, button, 0);
        control.onclick = function () { veltrin.call('veltrin_solve', []); };
      } else {
        control.id = 'S' + k;
        control.className = 'square';
        control.setAttribute('aria-label', UTF8ToString(HEAP32[(names >> 2) + k]));
        veltrin.place(control, squares, 4 * k);
        control.onclick = (function (k) {
          return function () { veltrin.call('veltrin_pressSquare', [k]); };
        })(k);
        veltrin.squares[k] = control;
      }
      picture.appendChild(control);
    }
    for (var k = 0; k < veltrin.squares.length; ++k) {
      veltrin.paint(k, 0x0000FF, 'red');
    }
    // Ctrl+C in a message copies exactly its text, line ends and all.
    var dialog = document.getElementById('message');
    dialog.addEventListener('keydown', function (event) {
      if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'c') {
        event.preventDefault();
        var copy = function (e) {
          e.clipboardData.setData('text/plain', dialog.exact);
          e.preventDefault();
        };
        document.addEventListener('copy', copy, {once: true});
        document.execCommand('copy');
      }
    });
    dialog.querySelector('button').onclick = function () { dialog.close(); };
    var channel = new MessageChannel();
    channel.port1.onmessage = function () { var wake = veltrin.wake; veltrin.wake = null; wake(); };
    veltrin.channel = channel;
  },

  js_showWindow__deps: ['$veltrin'],
  js_showWindow: function () {
    document.getElementById('Form1').hidden = false;
    veltrin.busy = false;
  },

  js_paintSquares__deps: ['$veltrin'],
  js_paintSquares: function (squares, colours, names) {
    for (var k = 0; squares; ++k, squares >>>= 1) {
      if (squares & 1) {
        veltrin.paint(k, HEAP32[(colours >> 2) + k], UTF8ToString(HEAP32[(names >> 2) + k]));
      }
    }
  },

  js_setBoardEnabled__deps: ['$veltrin'],
  js_setBoardEnabled: function (enabled) {
    document.getElementById('Picture1').classList.toggle('locked', !enabled);
  },

  js_msgBox__deps: ['$veltrin'],
  js_msgBox: function (text) {
    var shown = UTF8ToString(text);
    return Asyncify.handleSleep(function (wakeUp) { veltrin.message(shown, wakeUp); });
  },

  // Not a timer: nested timers are clamped to 4 ms, which would stretch a search of ten
  // thousand trials to most of a minute. A message to ourselves is a task of its own, after
  // whatever input and rendering the browser has waiting.
  js_doEvents__deps: ['$veltrin'],
  js_doEvents: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      veltrin.wake = wakeUp;
      veltrin.channel.port2.postMessage(0);
    });
  },

  js_fatal__deps: ['$veltrin'],
  js_fatal: function (report) {
    veltrin.stopped = true;
    var dialog = document.getElementById('message');
    if (dialog.open) {
      dialog.close();
    }
    veltrin.message(UTF8ToString(report), function () {
      document.body.textContent = '';
    });
  },
});
