# Entry points for people: `make demo` and `make check`.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps configure build check demo clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

check: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	@$(BUILD)/pphatch demo

clean:
	rm -rf $(BUILD)
