# Two entry points: `make run` (the program's main job) and `make test`.
# Both install what is missing, configure and build as needed.

.PHONY: run demo test bench release asan fuzz bootstrap clean

bootstrap:
	@scripts/bootstrap

release: bootstrap
	@[ -f build/release/build.ninja ] || cmake --preset release
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
run: release
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  build/release/app/gui/cirquel; \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the command-line demo instead."; \
	  scripts/demo build/release; \
	fi

demo: release
	@scripts/demo build/release

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
	@bench/drag build/release

clean:
	rm -rf build
