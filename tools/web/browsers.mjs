// How the page's tests and benchmarks start Debian's browsers headless
// with puppeteer-core: never a downloaded browser, and Chromium kept from
// reaching for the network (there is none here) and from its sandbox,
// which does not run as root.
export const browsers = {
  chromium: {
    browser: 'chrome',
    executablePath: '/usr/bin/chromium',
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
      '--disable-quic',
    ],
  },
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr' },
};
