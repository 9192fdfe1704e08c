# make run   installs what is missing, builds, produces the data and starts the program
# make test  builds and runs every test
# make package  builds build/vesperkalend_<version>_<arch>.deb (install: apt-get install ./build/vesperkalend_*.deb)
.PHONY: deps configure build run test bench package clean

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

clean:
	rm -rf build
