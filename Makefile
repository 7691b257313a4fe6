# Two commands set everything up on a fresh Debian 12 machine:
#   make run    install what is missing, build, start Morvane
#   make test   install what is missing, build, run every test
# and one more builds the Debian package into build-package/:
#   make package
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

PACKAGE_DIR ?= build-package

.PHONY: all deps configure build run test package clean

all: build

deps:
	@./scripts/install-deps

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

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# A build tree of its own, configured for /usr, because the binary looks for
# its help book under the prefix it was built for. Tests are not built there.
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB
	@ls $(PACKAGE_DIR)/morvane_*.deb

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
