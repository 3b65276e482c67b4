# Front door of the project: `make demo` and `make test` set up what is
# missing, configure, build, and run.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

# Debian packages the build and tests need.
PACKAGES := cmake g++ make libboost-dev libgtest-dev libgmock-dev googletest libbenchmark-dev emboss-data

.PHONY: all deps configure build demo test test-normal test-sanitize bench deps-windows test-windows clean

all: build

# Installs missing packages when run as root; otherwise only reports them.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages (install them as root):$$missing"; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	cmake --build $(BUILD) --target demo

# Every test: the normal build, then the whole suite again under
# AddressSanitizer + UndefinedBehaviorSanitizer and under ThreadSanitizer.
test: test-normal test-sanitize

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DNORV_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(BUILD)-tsan -DCMAKE_BUILD_TYPE=Debug -DNORV_SANITIZE=thread $(CMAKE_FLAGS)
	cmake --build $(BUILD)-tsan -j $(JOBS)
	cd $(BUILD)-tsan && ctest --output-on-failure -j $(JOBS)

# Benchmarks: a separate Release build with only the library and the
# benchmark programs, then every benchmark run once.
bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DNORVEXT_BUILD_BENCHMARKS=ON \
	  -DNORVEXT_BUILD_TESTS=OFF -DNORVEXT_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)-bench -j $(JOBS)
	cmake --build $(BUILD)-bench --target bench

# 32-bit Windows: cross-build the DLLs, tests and demo with MinGW-w64 and run
# them under Wine. When the toolchain or Wine cannot be installed, says so
# loudly and stops without failing; a build or test failure fails.
WIN_PACKAGES := g++-mingw-w64-i686 wine wine32:i386
MINGW_RUNTIME := /usr/lib/gcc/i686-w64-mingw32/12-posix;/usr/i686-w64-mingw32/lib
WINE_ENV := WINEPREFIX=$(CURDIR)/$(BUILD)-win/wineprefix WINEDEBUG=-all WINEPATH="$(MINGW_RUNTIME)"

deps-windows:
	@missing=""; for p in $(WIN_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  [ "$$(id -u)" = 0 ] || { echo "missing:$$missing"; exit 1; }; \
	  dpkg --print-foreign-architectures | grep -q i386 || dpkg --add-architecture i386; \
	  apt-get update -qq || true; \
	  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

test-windows:
	@if ! $(MAKE) --no-print-directory deps-windows; then \
	  echo "=================================================================="; \
	  echo "SKIPPED: test-windows (MinGW-w64 or Wine could not be installed)"; \
	  echo "=================================================================="; \
	  exit 0; \
	fi; \
	set -e; \
	cmake -S . -B $(BUILD)-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake $(CMAKE_FLAGS); \
	cmake --build $(BUILD)-win -j $(JOBS); \
	$(WINE_ENV) wineboot -i >/dev/null 2>&1 || true; \
	cd $(BUILD)-win && $(WINE_ENV) ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan $(BUILD)-win $(BUILD)-fuzz $(BUILD)-bench
