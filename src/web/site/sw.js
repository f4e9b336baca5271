// The offline copy of the site: every file is kept in a cache named after this build, the
// page is served from it first, and a new build's service worker replaces the old cache.
const CACHE = 'servo-simulator-@VERSION@';
const FILES = [
  './',
  // @FILES@
];

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== CACHE)
        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') {
    return;
  }
  event.respondWith(
    caches.open(CACHE).then((cache) => cache.match(event.request, { ignoreSearch: true })
      .then((kept) => kept || fetch(event.request))));
});
