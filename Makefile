# Set-up, build and test in two commands: `make run` and `make test`.
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: deps release run test bench asan clean format install docs-screenshot

deps:
	bash scripts/install-deps.sh

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

run: release
	./build/release/kovrin $(ARGS)

test: release
	ctest --preset release -j $(JOBS)

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS) --target kovrin_tests kovrin
	ctest --preset asan -j $(JOBS) -E '^e2e_'

bench: release
	./build/release/bench/kovrin_bench

install: release
	cmake --install build/release --prefix $(PREFIX)

# Regenerates docs/screenshot.png: the editor under Xvfb with a menu or two open.
docs-screenshot: release
	bash scripts/docs-screenshot.sh build/release/kovrin docs/screenshot.png

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
