# Entry points: make (build), make test, make demo, make bench, make fuzz,
# make dist, make clean.
BUILD := build
JOBS  ?= 2
# The shipped launcher and tool are 32-bit. Where this machine cannot execute
# 32-bit programs, test, demo and bench run a 64-bit build of the same
# sources in $(BUILD)/x64 (tools/scripts/run-build.sh).
TOOLCHAIN ?= i686
# The build machine's own jarstart-tool (configure and show without Wine).
NATIVE := $(BUILD)/native
# The release's version: the VERSION file, which the launchers' and the
# tool's version information carry too.
VERSION ?= $(shell tr -d ' \r\n' <VERSION)

.PHONY: all setup configure build native test demo bench fuzz dist clean

all: build

setup:
	@tools/scripts/setup.sh

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(TOOLCHAIN).cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/Makefile

build: configure native
	cmake --build $(BUILD) -j $(JOBS)

$(NATIVE)/Makefile:
	cmake -S tools/jarstart-tool/host -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release

native: $(NATIVE)/Makefile
	cmake --build $(NATIVE) -j $(JOBS)

# The writer's unit tests run natively first: no Wine needed for them. The
# cross-check compares the native tool with jarstart-tool.exe under Wine. The
# Wine suite comes last, so that its summary closes the output.
test: setup
	@$(MAKE) --no-print-directory build
	$(NATIVE)/native_tests
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && \
	  tools/scripts/cross-check.sh "$$dir" $(NATIVE)/jarstart-tool && \
	  tools/scripts/run-tests.sh "$$dir"

demo: setup
	@$(MAKE) --no-print-directory build
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/demo.sh "$$dir"

bench: setup
	@$(MAKE) --no-print-directory build
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/bench.sh "$$dir" $(BENCH_ARGS)

# Native sanitizer fuzzers of the pure text logic, in build/fuzz/ (apart from
# the cross build); FUZZ_SECONDS per target, 60 by default.
fuzz:
	FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) tools/scripts/fuzz.sh

# build/dist/jarstart-$(VERSION).tar.gz: the launchers, both tools, the
# vendors' README, the tool's manual, LICENSE and their SHA-256 sums.
dist: build
	tools/scripts/dist.sh $(BUILD) $(VERSION)

clean:
	rm -rf $(BUILD)
