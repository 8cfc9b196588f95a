# Entry points: make (build), make test, make demo, make bench, make clean.
BUILD := build
JOBS  ?= 2

.PHONY: all setup configure build test demo bench clean

all: build

setup:
	@tools/setup.sh

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/Makefile

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: setup
	@$(MAKE) --no-print-directory build
	tools/run-tests.sh $(BUILD)

demo: setup
	@$(MAKE) --no-print-directory build
	tools/demo.sh $(BUILD)

bench: setup
	@$(MAKE) --no-print-directory build
	tools/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
