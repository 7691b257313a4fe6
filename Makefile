# Two commands set everything up on a fresh Debian 12 machine (once git and
# make are there: apt-get install git make):
#   make run    install what is missing, build, start Morvane
#   make test   install what is missing, build, run every test
# and one more builds the Debian package into build-package/:
#   make package
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

PACKAGE_DIR ?= build-package

# cmake --build runs make inside make; its "Entering/Leaving directory" lines
# would bury the build's own messages.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test package clean
.PHONY: check-sanitize check-desktops fuzz-build fuzz-smoke fuzz lint bench
.PHONY: deps-lint deps-fuzz deps-bench deps-desktops

# Hardening and measuring, each in a build tree of its own:
#   make check-sanitize  every test but the desktop ones under AddressSanitizer
#                        and UBSan (build-asan)
#   make check-desktops  the tests labelled "desktop", against real desktop
#                        services (scripts/packages-desktops.txt); make test
#                        leaves them out
#   make fuzz-smoke      the start checks' fuzzer for a short while (build-fuzz)
#   make fuzz            the same for ten minutes
#   make lint            clang-tidy, cppcheck and clang-format's check over the
#                        sources (needs build)
#   make bench           the benchmarks of bench/ (build-bench)
# lint, fuzz* and bench first install the tools of their own package lists
# (scripts/packages-lint.txt, -fuzz.txt, -bench.txt); everything else needs
# only scripts/packages.txt (g++ brings the sanitizers' runtimes).
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
FUZZ_SMOKE_SECONDS ?= 20
FUZZ_SECONDS ?= 600

all: build

deps:
	@./scripts/install-deps

# Each runs after deps, so that two installs never run side by side.
deps-lint: deps
	@./scripts/install-deps scripts/packages.txt scripts/packages-lint.txt

deps-fuzz: deps
	@./scripts/install-deps scripts/packages.txt scripts/packages-fuzz.txt

deps-bench: deps
	@./scripts/install-deps scripts/packages.txt scripts/packages-bench.txt

deps-desktops: deps
	@./scripts/install-deps scripts/packages.txt scripts/packages-desktops.txt

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# A real window when a display is there, Qt's offscreen platform otherwise.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
		./$(BUILD_DIR)/morvane; \
	else \
		echo "No display found: starting Morvane on Qt's offscreen platform."; \
		QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/morvane; \
	fi

# The "desktop" tests need the packages of make check-desktops.
test: build
	@cd $(BUILD_DIR) && ctest -LE desktop --output-on-failure -j $(JOBS)

check-desktops: deps-desktops build
	@cd $(BUILD_DIR) && ctest -L desktop --output-on-failure

# A build tree of its own, configured for /usr, because the binary looks for
# its help book under the prefix it was built for. Tests are not built there.
# It is built with Debian's flags, every hardening feature on (PIE, full
# RELRO, stack protector, fortify); CMake reads no CPPFLAGS, so they join the
# compiler's flags, as debhelper does. lintian then checks the package.
DEB_BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
		-DCMAKE_CXX_FLAGS="$$($(DEB_BUILDFLAGS) CXXFLAGS) $$($(DEB_BUILDFLAGS) CPPFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_BUILDFLAGS) LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB
	@lintian --pedantic --fail-on error,warning $(PACKAGE_DIR)/morvane_*.deb
	@ls $(PACKAGE_DIR)/morvane_*.deb

# Leaks in Morvane's own code are findings; scripts/lsan.supp names only
# what third-party libraries keep for the life of the process.
check-sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && \
		ASAN_OPTIONS=detect_leaks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest -LE desktop --output-on-failure -j $(JOBS)

fuzz-build: deps-fuzz
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMORVANE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) --target fuzz_startchecks -j $(JOBS)

# New inputs go to $(FUZZ_DIR)/corpus, a crash to $(FUZZ_DIR)/crash-*; the
# committed seeds in fuzz/corpus are only read.
FUZZ_RUN = mkdir -p $(FUZZ_DIR)/corpus && \
	$(FUZZ_DIR)/fuzz/fuzz_startchecks -dict=fuzz/startchecks.dict -artifact_prefix=$(FUZZ_DIR)/ \
		-print_final_stats=1 $(FUZZ_DIR)/corpus fuzz/corpus

fuzz-smoke: fuzz-build
	@$(FUZZ_RUN) -max_total_time=$(FUZZ_SMOKE_SECONDS) >$(FUZZ_DIR)/fuzz-smoke.log 2>&1 \
		|| { cat $(FUZZ_DIR)/fuzz-smoke.log; exit 1; }
	@grep -E '^(Done|stat::(number_of_executed_units|peak_rss_mb))' $(FUZZ_DIR)/fuzz-smoke.log

fuzz: fuzz-build
	@$(FUZZ_RUN) -max_total_time=$(FUZZ_SECONDS)

lint: deps-lint build
	@./scripts/lint $(BUILD_DIR)

# Two minutes of measuring; BENCH_ARGS="--quick" for a ten-second try.
bench: deps-bench
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DMORVANE_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_DIR) --target bench_all -j $(JOBS)
	@python3 bench/run_bench.py $(BENCH_DIR) $(BENCH_ARGS)

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR)
