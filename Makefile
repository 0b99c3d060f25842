# The two everyday commands: `make run` builds the program and starts it,
# `make test` builds everything and runs the quick tests. Both install
# missing Debian packages first (tools/install-deps.sh). Each stage prints
# one line; its full output is in $(BUILD)/logs/, one log per stage and
# command. `make deb` builds the Debian packages into $(BUILD)/deb/.

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
LOGS = $(BUILD)/logs
STAGE = tools/stage.sh
DEB = $(BUILD)/deb

# CMake's own makefiles would otherwise fill the build log with
# "Entering directory" lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build program display run test bench deb clean

all: build

# After a one-line hint, stops make without the error line it would add:
# interrupted, make waits for this recipe, which then ends well, and exits
# with status 130 and nothing more to say.
STOP_QUIETLY = { kill -INT $$PPID; sleep 1; exit 0; }
# Where the packages cannot be installed (no root, no sudo), install-deps.sh
# says in one line what to run instead and exits with status 3.
INSTALL_DEPS = tools/install-deps.sh $(1) || { status=$$?; [ $$status -ne 3 ] || $(STOP_QUIETLY); exit $$status; }

deps:
	@WENDO_INSTALL_LOG=$(LOGS)/install.log $(call INSTALL_DEPS)

# Tests and benchmarks stay configured, so `make test` after `make run`
# reuses the same build folder.
configure: deps
	@$(STAGE) configure $(LOGS)/configure.log \
	  cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@$(STAGE) --progress "build everything" $(LOGS)/build-all.log cmake --build $(BUILD) -j $(JOBS)

# Only the program and the copy of its pictures, not the tests and benchmarks.
program: configure
	@$(STAGE) --progress "build the program" $(LOGS)/build-program.log cmake --build $(BUILD) -j $(JOBS) --target wendo

# After the packages, so that a missing Xvfb is installed before the hint
# to use it.
display: deps
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display to show the windows on (try: xvfb-run -a make run)"; $(STOP_QUIETLY); fi

run: display program
	@$(BUILD)/app/wendo

# The quick suites; .ci/run also runs the slow ones (ctest -L slow).
test: build
	@echo "==> tests: the quick suites (the slow ones, a live Slurm among them, run in .ci/run: ctest -L slow)"
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE slow

# Every benchmark program (not the bench_*_autogen folders); the first that
# fails fails the target.
bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

# The Debian packages wendo and wendo-lab, built by dpkg-buildpackage from
# debian/ (tools/build-deb.sh), left in $(DEB)/.
deb:
	@WENDO_INSTALL_LOG=$(LOGS)/install-package.log $(call INSTALL_DEPS,package)
	@tools/build-deb.sh $(DEB) $(JOBS)

clean:
	@rm -rf $(BUILD) $(BUILD).configure.log
