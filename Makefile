# Front door of the project: `make demo` and `make test` set up what is
# missing, configure, build, and run. Each rule is a line or two; the work
# is done by the scripts in scripts/ and by CMake.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=ON turns compiler warnings into errors (CI does).
WERROR ?= OFF
CMAKE_FLAGS ?=
FLAGS = -DNORVEXT_WERROR=$(WERROR) $(CMAKE_FLAGS)
export JOBS

.PHONY: all deps configure build demo test test-normal test-linux32 test-sanitize test-fuzz \
        fuzz bench buffers dump install test-windows abi-check abi-update package docs clean

all: build

# Installs the missing Debian packages as root; otherwise lists them.
deps:
	scripts/deps

configure: deps
	cmake -S . -B $(BUILD) $(FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Quiet: the set-up and the build keep their output in logs unless they fail.
demo:
	@scripts/demo $(BUILD) $(FLAGS)

# Every test, the same cases on every run: the normal build, the whole suite
# as a 32-bit x86 Linux build (under qemu-user where the kernel cannot), under
# ASan + UBSan and under TSan (norvext-search reads and prints on two
# threads), then every fuzz target over its fixed inputs.
test: test-normal test-linux32 test-sanitize test-fuzz

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-linux32: deps
	scripts/test-linux32 $(BUILD)-i386 $(FLAGS)

test-sanitize: deps
	scripts/build-and-test $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DNORVEXT_SANITIZE=address,undefined $(FLAGS)
	scripts/build-and-test $(BUILD)-tsan -DCMAKE_BUILD_TYPE=Debug -DNORVEXT_SANITIZE=thread $(FLAGS)

test-fuzz: deps
	scripts/fuzz replay $(BUILD)-fuzz $(FLAGS)

# Time-bounded fuzzing, FUZZ_SECONDS (600) a target; findings are kept in
# $(BUILD)-fuzz/fuzz/found.
fuzz: deps
	scripts/fuzz search $(BUILD)-fuzz $(FLAGS)

# Benchmarks: a Release build of the library and the benchmarks, each run once.
bench: deps
	scripts/build-and-test --target bench $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DNORVEXT_BUILD_BENCHMARKS=ON -DNORVEXT_BUILD_TESTS=OFF -DNORVEXT_BUILD_EXAMPLES=OFF $(FLAGS)

# The example programs save their buffers in $(BUILD)/buffers, and
# norvext-dump prints one of them: make dump TYPE=Summary FILE=build/buffers/summary.bin
buffers: build
	cmake --build $(BUILD) --target buffers

dump: build
	$(BUILD)/tools/norvext-dump/norvext-dump $(if $(TYPE),--type $(TYPE) $(FILE),--list-types)

# Installs the libraries, their headers, the CMake package and norvext-dump
# under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# 32-bit Windows: MinGW-w64 cross build, export table, tests and demo under
# Wine. It changes the whole machine (scripts/test-windows says what and
# when).
test-windows: deps
	scripts/test-windows $(BUILD)-win $(FLAGS)

# ABI of the three libraries against the baselines in abi/ (docs/abi.md);
# abi-update records new ones, with a new major version or ABI_COMPATIBLE=1.
abi-check: deps
	scripts/abi-check $(BUILD)-abi
abi-update: deps
	scripts/abi-check --update $(BUILD)-abi

# Debian packages of $(BUILD), a Windows .zip of $(BUILD)-pkg-win (MinGW-w64),
# each unpacked and built against by a consumer (scripts/package).
package: deps
	scripts/package $(BUILD) $(FLAGS)

# The API reference from the header comments, by Doxygen, in
# $(BUILD)/docs/html; any Doxygen warning fails it.
docs: deps
	scripts/docs $(BUILD)/docs

clean:
	rm -rf $(BUILD) $(BUILD)-i386 $(BUILD)-asan $(BUILD)-tsan $(BUILD)-win $(BUILD)-fuzz $(BUILD)-bench $(BUILD)-abi $(BUILD)-pkg-win
