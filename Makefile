# Set-up, build, run and test in one command each (see README.md).
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run editor test test-sanitize bench fuzz install uninstall clean format

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/kelvane $(if $(wildcard $(BUILD)/data),--data $(BUILD)/data)

editor: build
	$(BUILD)/kelvedit $(if $(wildcard $(BUILD)/data),--data $(BUILD)/data)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
	  ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKELVANE_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
	  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-release -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)-release -j $(JOBS)
	@for b in $(BUILD)-release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Runs every fuzz target for FUZZ_SECONDS each (make fuzz FUZZ_SECONDS=300).
fuzz:
	@KELVANE_FUZZ=1 scripts/install-deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKELVANE_FUZZ=ON -DKELVANE_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

# make install PREFIX=/some/where (default: CMake's, /usr/local); make uninstall
# removes what the last installation put there.
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

uninstall:
	cmake -DMANIFEST=$(BUILD)/install_manifest.txt -P cmake/uninstall.cmake

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(BUILD)-release
