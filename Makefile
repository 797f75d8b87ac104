# Set-up, build and test in two commands: `make run` and `make test`.
JOBS ?= 2

.PHONY: deps release run test bench asan clean format

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
