# make run:  install what is missing, build, and run the tool against the simulated actuator.
# make test: install what is missing, build with the sanitizers and run every test; then build a
#            Release tree (benchmarks and tests compiled, not run), install it into a temporary
#            prefix and check the installed tool finds its database; last, every fuzz target
#            for 10 s on its seed corpus.
# make fuzz: build the fuzz targets with clang (in $(FUZZ_BUILD)) and run each for FUZZ_SECONDS.
BUILD ?= build
TEST_BUILD ?= build-test
RELEASE_BUILD ?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
# The compiler cache is used when it is installed; nothing needs it.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: deps build run test fuzz

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_TESTS=OFF $(LAUNCHER)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	scripts/run-demo.sh $(BUILD)

test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
	  -DVELMAR_SANITIZE=ON -DVELMAR_WERROR=ON $(LAUNCHER)
	cmake --build $(TEST_BUILD) -j$(JOBS)
	ctest --test-dir $(TEST_BUILD) --output-on-failure -j$(JOBS)
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON \
	  -DVELMAR_BENCHMARKS=ON $(LAUNCHER)
	cmake --build $(RELEASE_BUILD) -j$(JOBS)
	scripts/check-install.sh $(RELEASE_BUILD)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DVELMAR_FUZZ=ON -DVELMAR_TESTS=OFF $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
