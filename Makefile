# Entry points: make (build), make test, make demo, make bench, make fuzz, make clean.
BUILD := build
JOBS  ?= 2

.PHONY: all setup configure build test demo bench fuzz clean

all: build

setup:
	@tools/scripts/setup.sh

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/Makefile

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: setup
	@$(MAKE) --no-print-directory build
	tools/scripts/run-tests.sh $(BUILD)

demo: setup
	@$(MAKE) --no-print-directory build
	tools/scripts/demo.sh $(BUILD)

bench: setup
	@$(MAKE) --no-print-directory build
	tools/scripts/bench.sh $(BUILD)

# Native sanitizer fuzzers of the pure text logic, in build/fuzz/ (apart from
# the cross build); FUZZ_SECONDS per target, 60 by default.
fuzz:
	FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) tools/scripts/fuzz.sh

clean:
	rm -rf $(BUILD)
