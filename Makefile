# Entry points for people and CI. Each target installs what it needs first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build test demo gui screenshots bench clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The demo runs only the command line and the note generator: build just those.
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target morvex morvex-notegen
	@tools/demo.sh $(BUILD)

gui: build
	@$(BUILD)/app/gui/morvex-demo

screenshots:
	@MORVEX_WITH_X=1 tools/install-deps.sh
	@$(MAKE) --no-print-directory build
	@tools/screenshots.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
