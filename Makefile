# The two everyday commands: `make run` builds and starts the program,
# `make test` builds and runs every test. Both install missing Debian
# packages first (tools/install-deps.sh).

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display to show the windows on (try: xvfb-run -a make run)"; exit 1; fi
	@$(BUILD)/app/wendo

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE slow

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	@rm -rf $(BUILD) $(BUILD).configure.log
