# The project's commands; see README.md.
SHELL := /bin/bash
NATIVE := build/native
WIN32 := build/win32
JOBS ?= $(shell nproc)

.PHONY: deps build native test run bench dist clean

deps:
	@tools/deps.sh

build: deps
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

test: build native
	@ctest --test-dir $(NATIVE) --output-on-failure
	@ctest --test-dir $(WIN32) --output-on-failure -j $(JOBS)

run: build
	@tools/run

bench: build native
	@tools/bench

dist: build
	@cmake --build --preset win32 --target dist
	@ls -l build/dist

clean:
	rm -rf build
