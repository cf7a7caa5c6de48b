# Two commands for a fresh machine: `make run` and `make test`. Both install what is
# missing (scripts/setup.sh), configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup build run test bench
setup:
	bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/zyqhmz

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target bench
