# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test deps build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure --parallel 2

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    echo "No display found: start it with  xvfb-run -a $(BUILD)/app/cv-veyloom  to run it on a virtual screen."; \
	    exit 1; \
	fi
	@$(BUILD)/app/cv-veyloom
