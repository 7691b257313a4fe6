# Two commands set everything up on a fresh Debian 12 machine:
#   make run    install what is missing, build, start Morvane
#   make test   install what is missing, build, run every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

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

clean:
	rm -rf $(BUILD_DIR)
