# Set-up commands for a fresh Debian 12 machine. Each installs what is missing first.
#   make build   builds the program (build/purgavia)
#   make test    builds every backend and runs every test
#   make run     builds and starts the program on its default machine folder
#   make bench   runs the benchmarks under bench/

JOBS ?= 2

.PHONY: all deps deps-test build build-native build-asan build-windows test run bench clean

all: build

deps:
	@bash scripts/install-deps.sh build

deps-test:
	@bash scripts/install-deps.sh test

build: build-native build-windows

build-native: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

# The Windows deliverables (build-win32: i686, what Windows users run) and the same
# sources built for x86-64 (build-win64), which the tests run under Wine.
build-windows: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

test: deps-test build build-asan
	ctest --preset default -j $(JOBS)
	ctest --preset asan -j $(JOBS)

run: build-native
	bash scripts/run.sh

bench: build-native
	bash bench/run-all.sh

clean:
	rm -rf build build-asan build-win32 build-win64
