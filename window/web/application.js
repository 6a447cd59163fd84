// The page's event loop as the C++ side sees it: when the page may call in, one pass of the
// loop for a search, and the end of the program.

mergeInto(LibraryManager.library, {
  // The page's guard. C++ is built without catching exceptions, so one that escapes a handler
  // (a click, a search resumed, the start-up) reaches the page as an uncaught error: a number,
  // where C++ threw it, or a rejected wait. It is reported once and the page ends.
  $application__postset: 'application.guard();',
  $application: {
    resume: function () {
      var wake = application.wake;
      application.wake = null;
      wake();
    },

    guard: function () {
      var report = function (error) {
        if (!application.stopped) {
          _veltrin_fatal(typeof error === 'number' ? error : 0);
        }
      };
      addEventListener('error', function (event) { report(event.error); });
      addEventListener('unhandledrejection', function (event) { report(event.reason); });
    },

    // C++ is waiting on the page (a message, a search's event pass) or has ended: no calls
    // in. This is what keeps clicks and keys out of a search, as a disabled board does.
    busy: true,
    stopped: false,
    channel: null,
    wake: null, // resumes the search waiting in its event pass

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
  // Where the browser has a scheduler, the pass is a task posted to it, which costs less than
  // a message; elsewhere a message to ourselves. The message port's listener is set once:
  // setting it anew for every pass costs more than the rest of the pass.
  js_doEvents__deps: ['$application'],
  js_doEvents: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      application.wake = wakeUp;
      if (typeof scheduler !== 'undefined' && scheduler.postTask) {
        scheduler.postTask(application.resume);
        return;
      }
      if (!application.channel) {
        application.channel = new MessageChannel();
        application.channel.port1.onmessage = application.resume;
      }
      application.channel.port2.postMessage(0);
    });
  },

  js_stop__deps: ['$application'],
  js_stop: function () {
    application.stopped = true;
  },
});
