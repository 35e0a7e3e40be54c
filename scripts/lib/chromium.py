"""Headless Chromium (Debian's package) driven through its DevTools protocol on a pipe: load a
page, evaluate an expression in it, take a screenshot. Used by scripts/check-html-reports and,
as a program, by scripts/manuals:

    python3 scripts/lib/chromium.py PAGE.html OUT.png WIDTH

saves a picture of the whole page at WIDTH CSS pixels. Every run starts its own browser with a
new, empty profile and none of the browser's own network traffic, and ends it.
"""
import base64
import json
import os
import pathlib
import select
import shutil
import subprocess
import sys
import tempfile

FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync']

TIMEOUT = 120  # seconds a command or a page load may take on a busy machine


class Browser:
    """One browser process with one page; use it in a with-block."""

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix='ko-chromium-')
        commands_read, self.commands = os.pipe()
        self.answers, answers_write = os.pipe()

        # The protocol pipe is fd 3 (commands in) and fd 4 (answers out) of the browser. The
        # ends go by way of fds no pipe holds, so neither can overwrite the other.
        def pipe_fds():
            os.dup2(commands_read, 100)
            os.dup2(answers_write, 101)
            os.dup2(100, 3)
            os.dup2(101, 4)
            os.close(100)
            os.close(101)

        self.process = subprocess.Popen(
            ['chromium', *FLAGS, f'--user-data-dir={self.profile}', '--remote-debugging-pipe',
             'about:blank'],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            close_fds=False, preexec_fn=pipe_fds)
        os.close(commands_read)
        os.close(answers_write)
        self.pending = b''
        self.next_id = 0
        self.events = []
        target = self.call('Target.createTarget', url='about:blank')['targetId']
        self.session = self.call('Target.attachToTarget', targetId=target,
                                 flatten=True)['sessionId']
        self.call('Page.enable', session=True)
        return self

    def __exit__(self, *_):
        self.process.kill()
        self.process.wait()
        os.close(self.commands)
        os.close(self.answers)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _message(self):
        while b'\0' not in self.pending:
            if not select.select([self.answers], [], [], TIMEOUT)[0]:
                raise RuntimeError(f'chromium said nothing for {TIMEOUT} s')
            chunk = os.read(self.answers, 1 << 16)
            if not chunk:
                raise RuntimeError('chromium ended')
            self.pending += chunk
        message, self.pending = self.pending.split(b'\0', 1)
        return json.loads(message)

    def call(self, method, session=False, **params):
        """Sends one command (to the page when `session`) and returns its result."""
        self.next_id += 1
        command = {'id': self.next_id, 'method': method, 'params': params}
        if session:
            command['sessionId'] = self.session
        os.write(self.commands, json.dumps(command).encode() + b'\0')
        while True:
            message = self._message()
            if message.get('id') == self.next_id:
                if 'error' in message:
                    raise RuntimeError(f'{method}: {message["error"]}')
                return message['result']
            self.events.append(message)

    def load(self, path, width):
        """Opens the file `path` in a viewport `width` CSS pixels wide, one pixel a CSS pixel,
        and waits until it has loaded; then makes the viewport as tall as the page."""
        self.call('Emulation.setDeviceMetricsOverride', session=True, width=width, height=100,
                  deviceScaleFactor=1, mobile=False)
        self.events = []
        self.call('Page.navigate', session=True, url=pathlib.Path(path).resolve().as_uri())
        while not any(e.get('method') == 'Page.loadEventFired' for e in self.events):
            self.events.append(self._message())
        height = self.evaluate('document.documentElement.scrollHeight')
        self.call('Emulation.setDeviceMetricsOverride', session=True, width=width, height=height,
                  deviceScaleFactor=1, mobile=False)
        return height

    def evaluate(self, expression):
        """The value of `expression` in the page; a promise is waited for."""
        result = self.call('Runtime.evaluate', session=True, expression=expression,
                           returnByValue=True, awaitPromise=True)
        if 'exceptionDetails' in result:
            raise RuntimeError(f'{expression[:60]}...: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def screenshot(self, out):
        data = self.call('Page.captureScreenshot', session=True, format='png')['data']
        pathlib.Path(out).write_bytes(base64.b64decode(data))


if __name__ == '__main__':
    page, picture, width = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with Browser() as browser:
        browser.load(page, width)
        browser.screenshot(picture)
