// The page's service worker: once visited, the page opens without the network.
//
// While the network is there every request goes to it first, past the browser's HTTP cache
// too, so a changed page shows on its next load and no one keeps a stale one while online;
// each answer is kept, and the kept copy is what a request gets when the network is gone.
// Every URL is relative to this file, so the folder can live under any path.

const CACHE = 'veltrin';
const FILES = [
    './',
    'index.html',
    'manifest.webmanifest',
    'icons/veltrin-192.png',
    'icons/veltrin-512.png',
    'icons/veltrin-maskable-512.png',
    'icons/veltrin-apple-touch-180.png',
];

self.addEventListener('install', (event) => {
    event.waitUntil(
        caches
            .open(CACHE)
            .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'no-cache' }))))
            .then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (event) => {
    event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
        return;
    }
    event.respondWith(
        fetch(request.url, { cache: 'no-cache' })
            .then((response) => {
                if (response.ok) {
                    const copy = response.clone();
                    event.waitUntil(caches.open(CACHE).then((c) => c.put(request, copy)));
                }
                return response;
            })
            .catch(() =>
                caches
                    .match(request, { ignoreSearch: true })
                    .then((kept) => kept || Response.error()),
            ),
    );
});
