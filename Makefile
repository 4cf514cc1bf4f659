# Two entry points: `make run` (the program's main job) and `make test`.
# Both install what is missing, configure and build as needed.

.PHONY: run test bench release asan bootstrap clean

bootstrap:
	@scripts/bootstrap

release: bootstrap
	@[ -f build/release/build.ninja ] || cmake --preset release
	@cmake --build --preset release

asan: bootstrap
	@[ -f build/asan/build.ninja ] || cmake --preset asan
	@cmake --build --preset asan

run: release
	@scripts/demo build/release

test: asan
	@ctest --preset asan

bench: release
	@bench/setup
	@for b in build/release/bench/cirquel-bench*; do "$$b"; done

clean:
	rm -rf build
