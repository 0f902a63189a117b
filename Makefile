# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test sanitize-test fuzz clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# On a desktop the ball appears on the screen (close it with Escape or a right
# click); without a display it runs on the headless host for a minute of virtual time.
run: build
	@if [ -n "$$DISPLAY" ]; then \
	  $(BUILD_DIR)/app/ixoengine $(BUILD_DIR)/examples/ball.ixo; \
	else \
	  echo "No display: running the ball on the headless host for a minute of virtual time."; \
	  $(BUILD_DIR)/app/ixoengine --headless --run-for 60000 --dump-vars $(BUILD_DIR)/examples/ball.ixo; \
	fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DIXO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-fuzz

# The libFuzzer targets, built with clang into build-fuzz/tests/fuzz/.
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DIXO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
