# Front door of the project: `make demo` and `make test` set up what is
# missing, configure, build, and run.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

# Debian packages the build and tests need.
PACKAGES := cmake g++ make libboost-dev libgtest-dev libgmock-dev googletest libbenchmark-dev emboss-data \
            libcereal-dev libboost-serialization-dev nlohmann-json3-dev \
            clang libclang-rt-14-dev

.PHONY: all deps configure build demo test test-normal test-linux32 test-sanitize test-fuzz fuzz bench buffers dump install deps-mingw deps-wine wine-i386-exec test-windows clean

all: build

# Installs missing packages when run as root; otherwise only reports them.
# An index that fails to refresh does not stop the install: the install
# itself says whether the packages could be had.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    { apt-get update -qq || true; } && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
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

# The example programs save their buffers in $(BUILD)/buffers, and
# norvext-dump prints one of them: make dump TYPE=Summary FILE=build/buffers/summary.bin
DUMP_TOOL = $(BUILD)/tools/norvext-dump/norvext-dump
buffers: build
	cmake --build $(BUILD) --target buffers

dump: build
	@if [ -z "$(TYPE)" ] || [ -z "$(FILE)" ]; then \
	  echo "usage: make dump TYPE=CLASS FILE=path, CLASS one of:"; $(DUMP_TOOL) --list-types; exit 2; \
	fi
	$(DUMP_TOOL) --type $(TYPE) $(FILE)

# Installs the libraries, their headers, the CMake package and norvext-dump
# under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Every test: the normal build, the whole suite again as a 32-bit x86 Linux
# build (where the kernel runs such programs), under AddressSanitizer +
# UndefinedBehaviorSanitizer and under ThreadSanitizer, then the fuzz targets.
test: test-normal test-linux32 test-sanitize test-fuzz

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-linux32: deps
	scripts/test-linux32 $(BUILD)-i386 $(JOBS) $(CMAKE_FLAGS)

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

# libFuzzer targets (clang, ASan + UBSan). `make test` replays the seeds (the
# sample objects and their hostile variants) and the committed findings, then
# fuzzes each target briefly; `make fuzz` fuzzes each target for FUZZ_SECONDS,
# keeping what it finds under $(BUILD)-fuzz/fuzz/found.
FUZZ_SECONDS ?= 600
FUZZ_BRIEF_SECONDS ?= 20
FUZZ_CONFIG = CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DNORVEXT_BUILD_FUZZERS=ON -DNORVEXT_BUILD_TESTS=OFF -DNORVEXT_BUILD_EXAMPLES=OFF \
	-DNORV_SANITIZE=address,undefined,fuzzer-no-link -DNORV_FUZZ_BRIEF_SECONDS=$(FUZZ_BRIEF_SECONDS)

test-fuzz: deps
	$(FUZZ_CONFIG)
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	cd $(BUILD)-fuzz && ctest --output-on-failure -j $(JOBS)

fuzz: deps
	$(FUZZ_CONFIG)
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	cd $(BUILD)-fuzz/fuzz && ../tests/support/write_samples seeds seeds && for t in *_fuzz; do \
	  name=$${t%_fuzz}; mkdir -p found/$$name seeds/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  ./$$t -malloc_limit_mb=256 -rss_limit_mb=1024 -max_total_time=$(FUZZ_SECONDS) \
	    -print_final_stats=1 found/$$name seeds/$$name $(CURDIR)/fuzz/corpus/$$name || exit 1; \
	done

# 32-bit Windows: cross-build the DLLs, tests and demo with MinGW-w64, check
# the DLL export table, and run the tests and the demo under Wine. A part
# whose packages cannot be installed (a registry hiccup) is reported loudly
# as SKIPPED and does not fail; a build or test failure fails.
MINGW_PACKAGES := g++-mingw-w64-i686
WINE_PACKAGES := wine wine32:i386 wine64
# Some kernels run no 32-bit x86 programs (Exec format error). There the i386
# Wine loader runs under qemu-user, registered for i386 ELF files; the 64-bit
# wineserver from wine64 stays native. qemu-user 7.2 hands out addresses
# downward from one page under 4 GiB and does not honour MAP_FIXED_NOREPLACE;
# Wine then reserves a misaligned high half and fails at start ("failed to map
# the shared user data"). A 64 KiB aligned top (QEMU_RESERVED_VA) avoids it.
# Under emulation a prefix boots in about 4 minutes, each Wine process takes
# about a minute to start, and the one test that starts threads is left out:
# any program that runs several threads at once, even eight bare CreateThread
# calls, dies with signal 11 there. Nothing else is left out and no failure
# is retried, there or natively. WINE_EMULATED=0 skips emulation.
# The boot runs without WINEPATH: with the MinGW runtime folders on it, the
# boot stopped on functions of Wine's own DLLs that looked unimplemented.
WINE_EMULATED ?= 1
QEMU_PACKAGES := qemu-user-static
I386_ELF := :qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F
MINGW_RUNTIME := /usr/lib/gcc/i686-w64-mingw32/12-posix;/usr/i686-w64-mingw32/lib
WINE_ENV := WINEPREFIX=$(CURDIR)/$(BUILD)-win/wineprefix WINEDEBUG=-all WINEPATH="$(MINGW_RUNTIME)" \
            QEMU_RESERVED_VA=0xffff0000
SKIPPED = echo "=================================================================="; \
	echo "SKIPPED: $(1)"; \
	echo "=================================================================="

# $(call install-packages,LIST): installs what is missing of LIST; fails when
# that cannot be done. i386 libraries must match the version of their amd64
# twin; when one suite's index cannot be refreshed that match fails, so the
# install is retried with the security suite pinned low for that command only.
install-packages = missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  [ "$$(id -u)" = 0 ] || { echo "missing:$$missing"; exit 1; }; \
	  case "$$missing" in *:i386*) dpkg --print-foreign-architectures | grep -q i386 || dpkg --add-architecture i386;; esac; \
	  apt-get update -qq || true; \
	  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing || { \
	    echo "Retrying with the security suite pinned low, so that each amd64/i386 pair can come from one suite"; \
	    pref=$$(mktemp -d); printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' > $$pref/pairs.pref; \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
	      -o Dir::Etc::PreferencesParts=$$pref $$missing; \
	    rc=$$?; rm -rf $$pref; exit $$rc; }; \
	fi

deps-mingw:
	@$(call install-packages,$(MINGW_PACKAGES))

deps-wine:
	@$(call install-packages,$(WINE_PACKAGES))

# Makes i386 programs runnable: natively when the kernel can, else via qemu-user.
wine-i386-exec: deps-wine
	@[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1 || exit 0; \
	[ "$(WINE_EMULATED)" = 1 ] || { echo "This kernel runs no 32-bit programs, and WINE_EMULATED=0 leaves out qemu-user"; exit 1; }; \
	$(call install-packages,$(QEMU_PACKAGES)); \
	[ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc; \
	[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || printf '%s' '$(I386_ELF)' > /proc/sys/fs/binfmt_misc/register; \
	/usr/lib/wine/wine --version

test-windows: deps
	@if ! $(MAKE) --no-print-directory deps-mingw; then \
	  $(call SKIPPED,test-windows (MinGW-w64 could not be installed)); exit 0; \
	fi
	cmake -S . -B $(BUILD)-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD)-win -j $(JOBS)
	cd $(BUILD)-win && ctest --output-on-failure -R '^windows\.'
	@if ! $(MAKE) --no-print-directory wine-i386-exec; then \
	  $(call SKIPPED,the Windows tests and demo under Wine (Wine could not be installed or run; the DLLs were built and their export table checked)); exit 0; \
	fi; \
	set -e; export $(WINE_ENV); \
	filter="*"; \
	if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then \
	  echo "Wine runs under qemu-user here: every test but Tarvik.ConcurrentFirstUseSeesOneFilledTable, whose threads qemu-user cannot run"; \
	  filter="-Tarvik.ConcurrentFirstUseSeesOneFilledTable"; \
	else \
	  echo "Wine runs natively here: every test"; \
	fi; \
	mkdir -p "$$WINEPREFIX"; wineserver -p || true; trap 'wineserver -k || true' EXIT; \
	if ! env -u WINEPATH timeout 1800 wineboot -i >$(BUILD)-win/wineboot.log 2>&1; then \
	  tail -n 20 $(BUILD)-win/wineboot.log; \
	  $(call SKIPPED,the Windows tests and demo under Wine (the Wine prefix did not boot; the DLLs were built and their export table checked)); exit 0; \
	fi; \
	cd $(BUILD)-win && GTEST_FILTER="$$filter" ctest --output-on-failure --timeout 1200 -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-i386 $(BUILD)-asan $(BUILD)-tsan $(BUILD)-win $(BUILD)-fuzz $(BUILD)-bench
