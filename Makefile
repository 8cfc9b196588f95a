# Entry points: make (build, the Java part too), make test, make demo,
# make bench, make fuzz, make dist, make clean.
BUILD := build
JOBS  ?= 2
# Both machines' launchers ship: the 32-bit build in $(BUILD), the 64-bit
# one in $(BUILD)/x64. Each build's tests make runtimes of either machine
# from both builds' stand-ins.
BUILD64 := $(BUILD)/x64
# The build machine's own jarstart-tool (configure and show without Wine).
NATIVE := $(BUILD)/native
# The release's version: the VERSION file, which the launchers' and the
# tool's version information carry too.
VERSION ?= $(shell tr -d ' \r\n' <VERSION)

.PHONY: all setup configure build native java test demo bench fuzz dist clean

all: build java

setup:
	@tools/scripts/setup.sh

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

$(BUILD64)/Makefile: | $(BUILD)/Makefile
	cmake -S . -B $(BUILD64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/Makefile $(BUILD64)/Makefile

build: configure native
	cmake --build $(BUILD) -j $(JOBS)
	cmake --build $(BUILD64) -j $(JOBS)

$(NATIVE)/Makefile:
	cmake -S tools/jarstart-tool/host -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release

native: $(NATIVE)/Makefile
	cmake --build $(NATIVE) -j $(JOBS)

# The Java configure library and the Maven plugin (java/), offline against
# Debian's Maven repository, installed into $(BUILD)/m2 for the example and
# any local project; the plugin carries the launchers of both builds. Their
# tests run in make test. MVN_ARGS reaches Maven.
MVN = cd java && mvn -q -Djarstart.build=$(abspath $(BUILD)) -Dmaven.repo.local=$(abspath $(BUILD))/m2 $(MVN_ARGS)
java: build
	$(MVN) -DskipTests install

# The writer's unit tests and the Java tests run natively first: no Wine
# needed for them; java-check compares the Java library with the native tool
# on all four launchers, example-check builds the Maven example and runs its
# launcher. Then the suite of each build this machine can run, with the
# cross-check of the native tool against that build's jarstart-tool.exe; the
# summary of the builds run closes the output.
test: setup
	@$(MAKE) --no-print-directory build java
	$(NATIVE)/native_tests
	$(MVN) test
	tools/scripts/java-check.sh $(BUILD) $(NATIVE)/jarstart-tool
	dir=$$(tools/scripts/run-build.sh $(BUILD)) && tools/scripts/example-check.sh $(BUILD) "$$dir"
	tools/scripts/test-builds.sh $(BUILD) $(NATIVE)/jarstart-tool

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

# build/dist/jarstart-$(VERSION).tar.gz: both machines' launchers in x86/
# and x64/, both tools, the vendors' README, the tool's manual, LICENSE, the
# Java library and the Maven plugin in a Maven repository layout, and their
# SHA-256 sums.
dist: build java
	tools/scripts/dist.sh $(BUILD) $(VERSION)

clean:
	rm -rf $(BUILD)
