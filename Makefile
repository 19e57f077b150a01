# Front door: build, run, test, bench, dist. Every target sets up what is missing first.
SHELL := /bin/bash
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
WIN32 := build/win32

.PHONY: all setup build run test bench soak dist fuzz native win win32 clean docs

all: build

setup:
	@scripts/bootstrap

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(WIN)/CMakeCache.txt:
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(ROOT)/scripts/wine-run \
	  -DKV_NATIVE_UNIT_TESTS=$(ROOT)/$(NATIVE)/bin/kv_unit_tests >/dev/null

# The i686 tree builds and runs the same Wine tests; the native unit tests run once, in build/win.
# Configured again when this file changes: older trees were set up without their tests.
$(WIN32)/CMakeCache.txt: Makefile
	cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DKV_BUILD_TESTS=ON \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(ROOT)/scripts/wine-run >/dev/null

native: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win: setup $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

win32: setup $(WIN32)/CMakeCache.txt
	cmake --build $(WIN32) -j $(JOBS)

build: native win

# Only what scripts/run needs: the program, its hook library and the probe that waits for it.
# The tests, tools and benches come with `make test` and `make bench`.
run: setup $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS) --target Kestrovar KestrovarHook kvprobe
	@scripts/run

# One ctest run per Windows tree, one after the other: each already keeps both cores busy.
# The i686 tree goes first so that the x86_64 run, which also runs the native unit tests,
# closes the output. Where this machine cannot run 32-bit programs, the i686 tests are skipped.
test: build win32
	@status=0; for tree in $(WIN32) $(WIN); do \
	    echo "== ctest in $$tree"; \
	    scripts/wine-arch gate $$tree/bin/Kestrovar.exe | sed "s|^|== $$tree |"; \
	    (cd $$tree && ctest -j 2 --output-on-failure --timeout 900) || status=1; \
	done; exit $$status

bench: build
	@scripts/bench

fuzz: setup
	@scripts/fuzz

soak: build
	@scripts/soak

dist: build win32
	@scripts/dist

docs: build
	@KV_DOCS_TREE=$(ROOT)/$(WIN) scripts/docs

clean:
	rm -rf $(NATIVE) $(WIN) $(WIN32)
