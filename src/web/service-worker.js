// The page's service worker: every file of the site is kept after a visit, so that the
// page opens without a network. The network comes first while there is one, so that a
// new build is seen at once; the kept copy answers when there is none.
const cacheName = 'frictionvib';
const siteFiles = ['./', 'index.html', 'page.js', 'frictionvib.js', 'frictionvib.wasm',
                   'favicon.svg', 'manifest.webmanifest'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(siteFiles)));
  self.skipWaiting();
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') {
    return;
  }
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(cacheName).then((cache) => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, {ignoreSearch: true})));
});
