# make run:  install what is missing, build, and run the tool against the simulated actuator.
# make test: install what is missing, build with the sanitizers, and run every test.
BUILD ?= build
TEST_BUILD ?= build-test
JOBS ?= $(shell nproc)

.PHONY: deps build run test

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_TESTS=OFF
	cmake --build $(BUILD) -j$(JOBS)

run: build
	scripts/run-demo.sh $(BUILD)

test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVELMAR_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j$(JOBS)
	ctest --test-dir $(TEST_BUILD) --output-on-failure -j$(JOBS)
