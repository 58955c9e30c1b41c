# Front door of the build.  `make` configures and builds; `make test` also
# installs what the machine lacks and runs every test under Wine; `make run`
# starts Brisko on the demo project.
BUILD     ?= build
BUILDTYPE ?= Release
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
TOOLCHAIN := cmake/mingw-w64-x86_64.cmake

.PHONY: all build configure deps test run clean

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=$(BUILDTYPE)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

deps:
	tools/install-deps

test: deps
	$(MAKE) build
	tools/run-tests $(BUILD)

run: deps
	$(MAKE) build
	tools/run-brisko $(BUILD)

clean:
	rm -rf $(BUILD)
