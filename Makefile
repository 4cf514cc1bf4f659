# Two entry points: `make run` (the program's main job) and `make test`.
# Both install what is missing, configure and build as needed. `make run` and
# `make demo` build only the programs and the art database they open; the
# whole tree (tests, benchmarks, fuzz replay drivers) is `make release`.

.PHONY: run demo test bench release programs installed asan fuzz bootstrap install package clean

# What the window and the demo need, and what an installation adds.
PROGRAMS = cirquel cirquel-cli art_database
INSTALLED = $(PROGRAMS) cirquel-thumbnailer registration_files manual_pages
PREFIX ?= /usr/local

bootstrap:
	@echo "== Checking the Debian packages the build needs (scripts/bootstrap)"
	@scripts/bootstrap

build/release/build.ninja:
	@echo "== Configuring the release build in build/release"
	@cmake --preset release >/dev/null

programs: bootstrap build/release/build.ninja
	@echo "== Building $(PROGRAMS) (build/release)"
	@cmake --build build/release --target $(PROGRAMS)

release: bootstrap build/release/build.ninja
	@cmake --build --preset release

asan: bootstrap
	@[ -f build/asan/build.ninja ] || cmake --preset asan
	@cmake --build --preset asan

# The libFuzzer targets, each run for FUZZ_SECONDS from the seeds the build
# writes, one after another (scripts/fuzz).
FUZZ_SECONDS ?= 10

fuzz: bootstrap
	@[ -f build/fuzz/build.ninja ] || cmake --preset fuzz
	@cmake --build --preset fuzz
	@scripts/fuzz build/fuzz $(FUZZ_SECONDS)

# The window where a display is available; otherwise the command-line demo.
run: programs
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  build/release/app/gui/cirquel; \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the command-line demo instead."; \
	  scripts/demo build/release; \
	fi

demo: programs
	@scripts/demo build/release

# An installation under PREFIX (FHS paths: bin/, share/cirquel/, share/man/ ...).
installed: bootstrap build/release/build.ninja
	@echo "== Building $(INSTALLED) (build/release)"
	@cmake --build build/release --target $(INSTALLED)

install: installed
	@echo "== Installing into $(PREFIX)"
	@cmake --install build/release --prefix "$(PREFIX)"

# A Debian package (build/release/cirquel_*.deb) with its dependencies taken
# from the shared libraries the programs link.
package: installed
	@echo "== Making the Debian package"
	@cd build/release && cpack -G DEB
	@scripts/package-check build/release/cirquel_*.deb

# The whole test binary once more in a shuffled order, so that a test which
# leans on another's leftovers shows (ctest runs each test in its own process).
SHUFFLE_SEED ?= 2

test: asan
	@ctest --preset asan
	@echo "Shuffled run of cirquel_tests, seed $(SHUFFLE_SEED)"
	@cd build/asan/tests && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ./cirquel_tests --gtest_shuffle --gtest_random_seed=$(SHUFFLE_SEED) --gtest_brief=1
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

bench: release
	@bench/setup
	@build/release/bench/cirquel-bench
	@bench/startup build/release
	@bench/cli_start build/release
	@bench/drag build/release

clean:
	rm -rf build
