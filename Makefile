# Entry points: make (build, the Java part too), make test, make demo,
# make bench, make fuzz, make dist, make clean.
BUILD := build
JOBS  ?= 2
# The shipped launcher and tool are 32-bit. Where this machine cannot execute
# 32-bit programs, test, demo and bench run a 64-bit build of the same
# sources in $(BUILD)/x64 (tools/scripts/run-build.sh).
TOOLCHAIN ?= i686
# The build machine's own jarstart-tool (configure and show without Wine).
NATIVE := $(BUILD)/native
VERSION ?= $(shell git describe --tags --always 2>/dev/null || echo dev)

.PHONY: all setup configure build native java launchers64 test demo bench fuzz dist clean

all: build java

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

# The 64-bit launchers beside the 32-bit ones, for the Maven plugin to carry.
launchers64: configure
	[ -f $(BUILD)/x64/Makefile ] || cmake -S . -B $(BUILD)/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/x64 --target jarstart jarstart_console -j $(JOBS)

# The Java configure library and the Maven plugin (java/), offline against
# Debian's Maven repository, installed into $(BUILD)/m2 for the example and
# any local project; their tests run in make test. MVN_ARGS reaches Maven.
MVN = cd java && mvn -q -Djarstart.build=$(abspath $(BUILD)) -Dmaven.repo.local=$(abspath $(BUILD))/m2 $(MVN_ARGS)
java: build launchers64
	$(MVN) -DskipTests install

# The writer's unit tests and the Java tests run natively first: no Wine
# needed for them; java-check compares the Java library with the native tool
# on all four launchers. The cross-check compares the native tool with
# jarstart-tool.exe under Wine; example-check builds the Maven example and
# runs its launcher. The Wine suite comes last, so that its summary closes
# the output.
test: setup
	@$(MAKE) --no-print-directory build java
	$(NATIVE)/native_tests
	$(MVN) test
	tools/scripts/java-check.sh $(BUILD) $(NATIVE)/jarstart-tool
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && \
	  tools/scripts/cross-check.sh "$$dir" $(NATIVE)/jarstart-tool && \
	  tools/scripts/example-check.sh $(BUILD) "$$dir" && \
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

# build/dist/jarstart-$(VERSION).tar.gz: the launcher, both tools, the docs,
# the Java library and the Maven plugin in a Maven repository layout, and
# their SHA-256 sums.
dist: build java
	tools/scripts/dist.sh $(BUILD) $(VERSION)

clean:
	rm -rf $(BUILD)
