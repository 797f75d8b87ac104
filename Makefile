# Set-up, build and test in two commands: `make run` and `make test`.
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: deps release run test bench asan plain test-arm64 fuzz soak clean format install docs-screenshot

deps:
	bash scripts/install-deps.sh

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

run: release
	./build/release/kovrin $(ARGS)

FUZZ_SECONDS ?= 600
EVENTS ?= 200000
SEED ?= 1
SEEDS ?= 1

# Release tests, then the unit tests again under ASan+UBSan (any finding fails), then once
# more with the plain C++ inner loops, then a 20-second smoke run of every fuzz target.
test: release
	ctest --preset release -j $(JOBS)
	$(MAKE) asan
	$(MAKE) plain
	bash fuzz/run.sh 20

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS) --target kovrin_tests kovrin
	ctest --preset asan -j $(JOBS) -E '^e2e_'

# The unit tests built with the plain C++ inner loops instead of the SSE2 ones: every result
# must be the same, so the same tests pass.
plain: deps
	cmake --preset plain >/dev/null
	cmake --build --preset plain -j $(JOBS) --target kovrin_tests
	./build/plain/kovrin_tests --gtest_brief=1

# The unit tests cross-built for 64-bit ARM and run under qemu-user (the plain inner loops;
# without the window and PNG libraries, so the two tests that read or write PNG files are left
# out). Not part of `test`: it takes a while (see README).
ARM64_SKIP = ToolCommands.RenderFramesTheModelInItsColours:StartupFrame.*
test-arm64: deps
	cmake --preset arm64 >/dev/null
	cmake --build --preset arm64 -j $(JOBS) --target kovrin_tests
	qemu-aarch64 -L /usr/aarch64-linux-gnu ./build/arm64/kovrin_tests --gtest_brief=1 \
	  --gtest_filter=-$(ARM64_SKIP)

# Every libFuzzer target for FUZZ_SECONDS each (needs clang).
fuzz: deps
	bash fuzz/run.sh $(FUZZ_SECONDS)

# A longer monkey session: make soak EVENTS=1000000 SEED=7 [SEEDS=5]
soak: release
	KOVRIN_SOAK_EVENTS=$(EVENTS) KOVRIN_SOAK_SEED=$(SEED) KOVRIN_SOAK_SEEDS=$(SEEDS) \
	  ./build/release/kovrin_tests --gtest_filter='MonkeySoak.*'

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
