# make run   installs what is missing, builds, produces the data and starts the program
# make test  builds and runs every test
.PHONY: deps configure build run test bench clean

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

bench: build
	@./scripts/bench.sh

clean:
	rm -rf build
