// The service worker: the site's files in one cache named by their content
// hash, so that the page opens and computes offline after one visit and a
// page never mixes two versions' files. A new version is installed beside
// the old one and takes over, deleting the old cache, once no page uses the
// old one. scripts/web.sh fills in the version and the list of files.
const version = 'payslip-@VERSION@';
const files = [@FILES@];

self.addEventListener('install', (event) => {
  // Past the browser's HTTP cache, which may still hold another version's files.
  const requests = files.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(version).then((cache) => cache.addAll(requests)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys().then((names) => Promise.all(names.filter((name) => name !== version).map((name) => caches.delete(name)))),
  );
});

// The site's own files from this version's cache (the page itself whatever
// its fragment); anything else from the network.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin) return;
  event.respondWith(
    caches.open(version).then((cache) =>
      cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request)),
    ),
  );
});
