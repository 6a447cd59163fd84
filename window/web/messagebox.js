// The modal message: a <dialog> titled as the application, with OK only. Ctrl+C in it copies
// exactly its text, line ends and all.

mergeInto(LibraryManager.library, {
    $messagebox: {
        up: function () {
            return document.getElementById('message').open;
        },

        // Shows `text`; `done` runs once the user has dismissed it.
        show: function (text, done) {
            var dialog = document.getElementById('message');
            if (!dialog.ready) {
                dialog.ready = true;
                dialog.addEventListener('keydown', messagebox.copy);
                // OK hands the page back at once: the close event comes a task later, and a click
                // in between would find the page still waiting on the message, and be lost.
                dialog.querySelector('button').onclick = function () {
                    dialog.close();
                    dialog.dismissed();
                };
                // Escape's close, or OK's own; not one that comes after the dialog was shown again
                // (a fatal error's report replacing a message).
                dialog.onclose = function () {
                    if (!dialog.open) {
                        dialog.dismissed();
                    }
                };
            }
            dialog.querySelector('p').textContent = text.replace(/\r\n/g, '\n');
            dialog.exact = text;
            dialog.dismissed = function () {
                dialog.dismissed = function () {};
                done();
            };
            dialog.showModal();
            dialog.querySelector('button').focus();
        },

        copy: function (event) {
            if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'c') {
                event.preventDefault();
                var exact = document.getElementById('message').exact;
                var copy = function (e) {
                    e.clipboardData.setData('text/plain', exact);
                    e.preventDefault();
                };
                document.addEventListener('copy', copy, { once: true });
                document.execCommand('copy');
            }
        },
    },

    js_msgBox__deps: ['$messagebox'],
    js_msgBox: function (text) {
        messagebox.show(UTF8ToString(text), _veltrin_messageDone);
    },

    js_fatal__deps: ['$messagebox'],
    js_fatal: function (report) {
        var dialog = document.getElementById('message');
        if (dialog.open) {
            dialog.close();
        }
        messagebox.show(UTF8ToString(report), function () {
            document.body.textContent = '';
        });
    },
});
