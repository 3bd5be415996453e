# The project's commands; see README.md.
SHELL := /bin/bash
NATIVE := build/native
WIN32 := build/win32
FUZZ := build/fuzz
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# The Wine suites mostly wait: more of them run side by side than there are cores.
WINE_JOBS ?= 6

# Where the release's files are downloaded from: the winget and Scoop
# manifests' addresses are built from it, {version} standing for the version.
DOWNLOAD_URL ?= https://download.velto-software.example/dormix/{version}

.PHONY: deps build native fuzz-build test soak fuzz run bench dist clean

deps:
	@tools/deps.sh

build: deps
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

# The Wine tiers start as soon as the Windows build is there; their suites
# mostly wait, and the native and fuzz configurations are built and tested
# beside them. The Wine tiers' report follows at the end.
test: build
	@echo "Wine tiers running, report in $(WIN32)/wine-tiers.log"
	@ctest --test-dir $(WIN32) --output-on-failure -j $(WINE_JOBS) -LE soak >$(WIN32)/wine-tiers.log 2>&1 & wine=$$!; \
	status=0; \
	{ $(MAKE) --no-print-directory native fuzz-build && \
	  ctest --test-dir $(NATIVE) --output-on-failure && \
	  ctest --test-dir $(FUZZ) --output-on-failure; } || status=1; \
	wait $$wine || status=1; \
	cat $(WIN32)/wine-tiers.log; \
	exit $$status

soak: build
	@ctest --test-dir $(WIN32) --output-on-failure -L soak

fuzz: fuzz-build
	@tools/fuzz $(FUZZ_SECONDS) $(FUZZ)/fuzz_*

run: build
	@tools/run

bench: build native
	@cmake --build --preset win32 -j $(JOBS) --target benchmarks
	@cmake --build --preset native -j $(JOBS) --target benchmarks
	@tools/bench

dist: build
	@cmake --build --preset win32 --target dist
	@/usr/bin/python3 tools/manifests build/dist/manifests "$(DOWNLOAD_URL)" build/dist/dormix-*.msi build/dist/dormix-*-win32.zip
	@ls -lR build/dist

clean:
	rm -rf build
