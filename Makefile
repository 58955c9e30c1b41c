# Front door of the build.  `make` configures and builds; `make test` also
# installs what the machine lacks and runs every test under Wine; `make run`
# builds what it needs and starts Brisko on the demo project (`make run
# FILE=一号路.ZBD` with a data file of the demo road open).
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

# Only what the demo runs: the program with its libraries and resources, the
# demo project's writer and the screenshot taker.  FILE= opens a data file.
run: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target Brisko demo_project brisko_shot
	tools/run-brisko $(BUILD) $(FILE)

clean:
	rm -rf $(BUILD)
