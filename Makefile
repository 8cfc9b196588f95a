# Entry points: make (build), make test, make demo, make bench, make fuzz, make clean.
BUILD := build
JOBS  ?= 2
# The shipped launcher and tool are 32-bit. Where this machine cannot execute
# 32-bit programs, test, demo and bench run a 64-bit build of the same
# sources in $(BUILD)/x64 (tools/scripts/run-build.sh).
TOOLCHAIN ?= i686

.PHONY: all setup configure build test demo bench fuzz clean

all: build

setup:
	@tools/scripts/setup.sh

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(TOOLCHAIN).cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/Makefile

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: setup
	@$(MAKE) --no-print-directory build
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/run-tests.sh "$$dir"

demo: setup
	@$(MAKE) --no-print-directory build
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/demo.sh "$$dir"

bench: setup
	@$(MAKE) --no-print-directory build
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/bench.sh "$$dir"

# Native sanitizer fuzzers of the pure text logic, in build/fuzz/ (apart from
# the cross build); FUZZ_SECONDS per target, 60 by default.
fuzz:
	FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) tools/scripts/fuzz.sh

clean:
	rm -rf $(BUILD)
