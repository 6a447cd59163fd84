// The page's event loop as the C++ side sees it: when the page may call in, one pass of the
// loop for a search, and the end of the program.

mergeInto(LibraryManager.library, {
  $application: {
    // C++ is waiting on the page (a message, a search's event pass) or has ended: no calls
    // in. This is what keeps clicks and keys out of a search, as a disabled board does.
    busy: true,
    stopped: false,
    channel: null,

    // Calls the exported `entry` for an event of the page, unless C++ is busy. An entry that
    // waits on the page returns at its first wait; it is done when Asyncify says so.
    enter: function (entry, arg) {
      if (application.busy || application.stopped) {
        return;
      }
      application.busy = true;
      entry(arg);
      var done = function () { application.busy = false; };
      if (Asyncify.currData) {
        Asyncify.whenDone().then(done);
      } else {
        done();
      }
    },
  },

  // Not a timer: nested timers are clamped to 4 ms, which would stretch a search of ten
  // thousand trials to most of a minute. A message to ourselves is a task of its own, after
  // whatever input and rendering the browser has waiting.
  js_doEvents__deps: ['$application'],
  js_doEvents: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      if (!application.channel) {
        application.channel = new MessageChannel();
      }
      application.channel.port1.onmessage = function () { wakeUp(); };
      application.channel.port2.postMessage(0);
    });
  },

  js_stop__deps: ['$application'],
  js_stop: function () {
    application.stopped = true;
  },
});
