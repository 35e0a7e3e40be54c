"""Applies mutants one at a time to one scratch copy of the working tree, rebuilds only the test
programs the mutated file is built into, and runs only those.

Two build trees share the scratch copy: a plain one (-O0 as in Debug, without sanitizers or
debug information), where every mutant is tried, and the sanitized one of scripts/test (Debug,
AddressSanitizer and UndefinedBehaviorSanitizer), made only when a mutant first passes the
plain tests. -O0 because optimising turns warnings on (array bounds, mismatched delete) that -Werror
makes errors the project's own build never sees. The second try matters: an out-of-bounds
access or an overflow that changes no result is still a fault the project's suite catches, so a
mutant counts as missed only when the sanitized tests pass too. Each file is restored after its
mutant; ccache turns the rebuild of a restored file into a cache hit.
"""
import json
import os
import re
import shutil
import signal
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path

PRODUCT_DIRS = ("common", "kestrel", "osprey", "cli", "resources")
SOURCE_SUFFIXES = (".cpp", ".cc", ".c")
HEADER_SUFFIXES = (".h", ".hpp", ".rci")
_INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def _quiet(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)


@dataclass
class TestProgram:
    name: str
    target: str          # the ninja target, relative to the build tree
    working_dir: str
    files: set = field(default_factory=set)   # scratch-relative paths it is built from
    seconds: float = 0.0                      # how long the unmutated program ran


class BuildTree:
    """One CMake build of the scratch copy and its test programs."""

    def __init__(self, scratch, name, cmake_args, env_extra):
        self.source = scratch / "src"
        self.dir = scratch / name
        self.name = name
        self.cmake_args = cmake_args
        self.env = dict(os.environ, **env_extra)
        self.programs = []
        self.ready = False
        self.build_seconds = 0.0   # spent on the mutants' builds and test runs, for the summary
        self.test_seconds = 0.0

    def configure(self):
        if _quiet(["cmake", "-S", str(self.source), "-B", str(self.dir), "-G", "Ninja",
                   *self.cmake_args], env=self.env).returncode != 0:
            raise RuntimeError(f"cmake cannot configure the {self.name} build")
        shown = subprocess.run(["ctest", "--show-only=json-v1"], cwd=self.dir, check=True,
                               capture_output=True, text=True, env=self.env).stdout
        # Before the first build ctest knows no command: the executable is the target of the
        # test's name (ko_add_test_program gives both the same name).
        executables = {}
        listed = subprocess.run(["ninja", "-C", str(self.dir), "-t", "targets", "all"],
                                check=True, capture_output=True, text=True).stdout
        for line in listed.splitlines():
            target, _, rule = line.rpartition(": ")
            if rule.startswith("CXX_EXECUTABLE_LINKER"):
                executables[Path(target).name] = target
        self.programs = []
        for test in json.loads(shown)["tests"]:
            props = {p["name"]: p["value"] for p in test.get("properties", [])}
            program = TestProgram(test["name"], executables[test["name"]],
                                  props.get("WORKING_DIRECTORY", str(self.dir)))
            program.files = self._files_of(program.target)
            self.programs.append(program)

    def _files_of(self, target):
        """The scratch-relative sources a target is built from, with every project header they
        include (directly or not)."""
        inputs = subprocess.run(["ninja", "-C", str(self.dir), "-t", "inputs", target],
                                check=True, capture_output=True, text=True).stdout.split()
        files = set()
        for name in inputs:
            path = (self.dir / name).resolve()
            if path.suffix in SOURCE_SUFFIXES and path.is_relative_to(self.source):
                files.add(str(path.relative_to(self.source)))
        pending = list(files)
        while pending:
            current = pending.pop()
            text = (self.source / current).read_text(encoding="utf-8", errors="replace")
            for included in _INCLUDE.findall(text):
                for base in (self.source, (self.source / current).parent,
                             self.source / "resources"):
                    candidate = (base / included).resolve()
                    if candidate.is_file() and candidate.is_relative_to(self.source):
                        relative = str(candidate.relative_to(self.source))
                        if relative not in files:
                            files.add(relative)
                            pending.append(relative)
                        break
        return files

    def programs_of(self, path):
        return [p for p in self.programs if path in p.files]

    def build(self, targets=None):
        """Whether the targets (all when None) build; the log of the last failure is kept."""
        command = ["ninja", "-C", str(self.dir), "-j", os.environ.get("KO_JOBS", "2")]
        result = subprocess.run(command + list(targets or []), capture_output=True, text=True,
                                env=self.env)
        if result.returncode != 0:
            (self.dir / "last-failure.log").write_text(result.stdout + result.stderr)
        return result.returncode == 0

    def run(self, program, timeout):
        """'pass', 'fail' or 'timeout' for one test program, stopping at its first failure."""
        started = time.monotonic()
        process = subprocess.Popen(
            [str(self.dir / program.target), "--gtest_fail_fast", "--gtest_brief=1"],
            cwd=program.working_dir, env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            code = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return "timeout"
        finally:
            program.last_seconds = time.monotonic() - started
        return "pass" if code == 0 else "fail"

    def prepare(self):
        """Configures and builds everything, and runs the unmutated tests once to know their
        times; raises when they do not pass."""
        self.configure()
        if not self.build():
            raise RuntimeError(f"the unmutated tree does not build ({self.name}); see "
                               f"{self.dir / 'last-failure.log'}")
        for program in self.programs:
            if self.run(program, timeout=1800) != "pass":
                raise RuntimeError(f"the unmutated {program.name} fails ({self.name}): fix it first")
            program.seconds = program.last_seconds
        self.ready = True

    def verdict(self, path, timeout_factor):
        """Rebuilds and runs what `path` is built into: 'no-build', 'caught', 'timeout' or
        'missed'. A program that runs past timeout_factor times its unmutated time (at least a
        minute) counts as a hang."""
        programs = sorted(self.programs_of(path), key=lambda p: p.seconds)
        started = time.monotonic()
        built = self.build([p.target for p in programs])
        self.build_seconds += time.monotonic() - started
        if not built:
            return "no-build"
        started = time.monotonic()
        try:
            for program in programs:
                outcome = self.run(program, timeout=max(60.0, timeout_factor * program.seconds))
                if outcome == "fail":
                    return "caught"
                if outcome == "timeout":
                    return "timeout"
            return "missed"
        finally:
            self.test_seconds += time.monotonic() - started


def ccache_env():
    """Compiler launcher settings for CMake: ccache when it is there and nothing else is set."""
    if shutil.which("ccache") and "CMAKE_CXX_COMPILER_LAUNCHER" not in os.environ:
        return {"CMAKE_CXX_COMPILER_LAUNCHER": "ccache", "CMAKE_C_COMPILER_LAUNCHER": "ccache"}
    return {}


def build_trees(scratch):
    launcher = ccache_env()
    plain = BuildTree(scratch, "plain", ["-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O0"],
                      launcher)
    sanitized = BuildTree(scratch, "sanitized", ["-DCMAKE_BUILD_TYPE=Debug", "-DKO_SANITIZE=ON"],
                          dict(launcher, ASAN_OPTIONS="detect_leaks=1:abort_on_error=1",
                               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"))
    return plain, sanitized


def copy_tree(root, source):
    """Makes `source` hold the working tree's files as they are (tracked and untracked, not
    ignored), copying only what differs."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=root, check=True, capture_output=True).stdout.split(b"\0")
    for name in filter(None, listed):
        original = root / os.fsdecode(name)
        if not original.is_file():
            continue
        target = source / os.fsdecode(name)
        target.parent.mkdir(parents=True, exist_ok=True)
        # A fresh modification time, never the original's: a run killed before it restored its
        # mutated file leaves an object built from the mutant, newer than the original's date.
        if not target.exists() or target.read_bytes() != original.read_bytes():
            shutil.copyfile(original, target)
            shutil.copymode(original, target)


def portable_files(tree):
    """The product files (scratch-relative) that some native test program is built from."""
    files = set()
    for program in tree.programs:
        files.update(f for f in program.files if f.split("/")[0] in PRODUCT_DIRS)
    return sorted(files)


def try_mutant(mutant, plain, sanitized, timeout_factor, sanitized_check=True):
    """The verdict on one mutant: 'caught', 'timeout', 'sanitizer' (caught only by the
    sanitized build), 'missed' or 'no-build'. The file is restored whatever happens."""
    file = plain.source / mutant.path
    text = file.read_text(encoding="utf-8")
    try:
        file.write_text(mutant.apply(text), encoding="utf-8")
        outcome = plain.verdict(mutant.path, timeout_factor)
        if outcome == "missed" and sanitized_check:
            if not sanitized.ready:
                file.write_text(text, encoding="utf-8")
                sanitized.prepare()
                file.write_text(mutant.apply(text), encoding="utf-8")
            second = sanitized.verdict(mutant.path, timeout_factor)
            if second in ("caught", "timeout"):
                outcome = "sanitizer"
        return outcome
    finally:
        file.write_text(text, encoding="utf-8")
