# make run   installs what is missing, builds, produces the data and starts the program
# make test  builds and runs every test
# make package  builds build/vesperkalend_<version>_<arch>.deb (install: apt-get install ./build/vesperkalend_*.deb)
# make fuzz  builds the libFuzzer targets (clang, ASan, UBSan) and runs each for FUZZ_SECONDS (default 60)
# make sanitize  builds everything under ASan and UBSan and runs every test
.PHONY: deps configure build run test bench fuzz sanitize package clean

FUZZ_SECONDS ?= 60

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

run: build
	@./scripts/start.sh

test: build
	@ctest --preset default

package: build
	@cmake --build --preset default --target package

bench: build
	@./scripts/bench.sh

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz.sh

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize

clean:
	rm -rf build build-fuzz build-sanitize
