# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench install package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	./$(BUILD)/app/brimtor

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (brimtor_<version>_<arch>.deb) in $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
