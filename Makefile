# The two everyday commands: `make run` builds the program and starts it,
# `make test` builds everything and runs the quick tests. Both install
# missing Debian packages first (tools/install-deps.sh). Each stage prints
# one line; its full output is in $(BUILD)/logs/.

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
LOGS = $(BUILD)/logs
STAGE = tools/stage.sh

# CMake's own makefiles would otherwise fill the build log with
# "Entering directory" lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build program display run test bench clean

all: build

deps:
	@WENDO_INSTALL_LOG=$(LOGS)/install.log tools/install-deps.sh

# Tests and benchmarks stay configured, so `make test` after `make run`
# reuses the same build folder.
configure: deps
	@$(STAGE) configure $(LOGS)/configure.log \
	  cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@$(STAGE) --progress "build everything" $(LOGS)/build.log cmake --build $(BUILD) -j $(JOBS)

# Only the program and the copy of its pictures, not the tests and benchmarks.
program: configure
	@$(STAGE) --progress "build the program" $(LOGS)/build.log cmake --build $(BUILD) -j $(JOBS) --target wendo

display:
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display to show the windows on (try: xvfb-run -a make run)"; exit 1; fi

run: display program
	@$(BUILD)/app/wendo

# The quick suites; .ci/run also runs the slow ones (ctest -L slow).
test: build
	@echo "==> tests: the quick suites (the slow ones run in .ci/run)"
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE slow

# Every benchmark program (not the bench_*_autogen folders); the first that
# fails fails the target.
bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

clean:
	@rm -rf $(BUILD) $(BUILD).configure.log
