# Zarvek: top-level commands. Every target installs what is missing first.
BUILD      ?= build
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 30
CMAKE_GEN  := -G Ninja

PREFIX     ?= /usr/local

.PHONY: all deps configure build run test check sanitize tsan asan fuzz bench install clean

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# The IDE with an example project where there is a display; without one, the running
# light in the terminal.
run: build
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ] && [ -x $(BUILD)/src/ide/zarvek ]; then \
	  $(BUILD)/src/ide/zarvek examples/ampel.xml; \
	else \
	  echo "make run: no display, so the running light runs in the terminal"; \
	  $(BUILD)/src/cli/zarvek-cli run --realtime examples/lauflicht.bas; \
	fi

# The IDE, zarvek-cli, the desktop entry, the icon, the examples and the help under PREFIX.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Sanitizer and fuzz runs come first so that the output ends with ctest's summary.
check: deps sanitize fuzz
	$(MAKE) test

sanitize: tsan asan

tsan: deps
	@[ -f build-tsan/build.ninja ] || cmake -S . -B build-tsan $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZARVEK_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L 'runtime|simulation'

asan: deps
	@[ -f build-asan/build.ninja ] || cmake -S . -B build-asan $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZARVEK_SANITIZE=address
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

fuzz: deps
	@[ -f build-fuzz/build.ninja ] || cmake -S . -B build-fuzz $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZARVEK_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz-targets
	sh fuzz/run-all.sh build-fuzz $(FUZZ_SECONDS)

bench: deps
	@[ -f build-bench/build.ninja ] || cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS) --target benchmarks
	for b in build-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done
	cmake --build build-bench -j $(JOBS) --target zarvek-cli
	-cmake --build build-bench -j $(JOBS) --target pyxon-firmware pyxon-sim
	bench/firmware_bench.sh build-bench

clean:
	rm -rf $(BUILD) build-tsan build-asan build-fuzz build-bench
