# Vendrix: make run | make test | make bench
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR ?= ON
SANITIZE ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test bench run clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DVENDRIX_WERROR=$(WERROR) -DVENDRIX_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	$(BUILD)/bin/vendrix-bench

# Creates the demo shop on first use (administrator password "admin"), then starts the program.
run: build
	@root="$${VENDRIX_ROOT:-$$HOME/Vendrix}"; \
	if [ ! -f "$$root/Vendrix Demo.udl" ]; then \
	  $(BUILD)/bin/vendrix init --demo --admin-password admin; \
	fi
	$(BUILD)/bin/vendrix

clean:
	rm -rf $(BUILD)
