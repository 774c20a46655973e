# Builds, runs and tests kbr_dorin; every target first installs what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-win
JOBS       ?= $(shell nproc)
export ASAN_OPTIONS  = halt_on_error=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1

.PHONY: all deps build build-asan build-fuzz windows test fuzz package bench bench-peers run clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The core with its tests, and the program itself, under AddressSanitizer and UBSan.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKBR_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target core_tests kbr_dorin

build-fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	      -DKBR_SANITIZE=ON -DKBR_FUZZ=ON -DKBR_BUILD_APP=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Windows: cross-compiled with mingw-w64 (static, one file) and run under Wine.
windows: deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN_BUILD) -j $(JOBS)

# Runs the records start-up fuzzer for a short fixed time on the checked-in corpus.
fuzz: build-fuzz
	cd $(FUZZ_BUILD) && ctest --output-on-failure -L fuzz

test: build build-asan build-fuzz windows
	cd $(BUILD) && KBR_WINDOWS_PROGRAM=$(CURDIR)/$(WIN_BUILD)/src/app/win32/kbr_dorin.exe \
	  ctest --output-on-failure -j $(JOBS)
	cd $(WIN_BUILD) && ctest --output-on-failure
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE nosan
	@# The sanitized program ended every way while dialogs, menus and messages are open.
	KBR_TEST_PROGRAM=$(CURDIR)/$(ASAN_BUILD)/src/app/kbr_dorin ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 \
	  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" $(BUILD)/tests/gui_tests \
	  --gtest_filter='Ways*:Dialogs*:Situations*:ProgramTest.*:WindowManagerTest.*:WaylandTest.*'
	cd $(FUZZ_BUILD) && ctest --output-on-failure -L fuzz

# The .deb, in $(BUILD)/package.
package: build
	cd $(BUILD) && cpack -G DEB -B $(CURDIR)/$(BUILD)/package
	@ls $(BUILD)/package/*.deb

# Timing accuracy and footprint, under X servers of their own; figures and plots in bench/out.
# BEDS picks the desktops (see scripts/bench.sh), BENCH_ARGS is passed to bench/timing
# (e.g. BENCH_ARGS="--only idle --answers 50").
bench: build
	BEDS="$(BEDS)" bash scripts/bench.sh $(BUILD) bench/out $(BENCH_ARGS)

# kbr_dorin beside a browser test (jsPsych in Chromium), a naive Tk program and
# Psychtoolbox-3, one watcher for all; installs what the peers need. PEERS_ARGS is
# passed to bench/peers (e.g. PEERS_ARGS="--answers 40").
bench-peers: build
	bash scripts/bench-peers.sh $(BUILD) bench/out/peers $(PEERS_ARGS)

run: build
	bash scripts/run.sh $(BUILD)/src/app/kbr_dorin

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
