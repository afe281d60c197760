# Folivox developer entry points. `make run` and `make test` install what is
# missing (Debian 12), build, and then run the program or every test.
WERROR := $(if $(CI),ON,OFF)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test sanitize package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset default -DFOLIVOX_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

# Opens the program; without a display it does the main job headless instead.
run: build
	@bash scripts/run.sh

# The fast unit tests first, so a plain fault shows in seconds; then the rest.
test: build
	@ctest --preset default -j $(JOBS) -L unit
	@ctest --preset default -j $(JOBS) -LE unit

# The core and CLI tests under AddressSanitizer + UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake --preset sanitize -DFOLIVOX_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize -j $(JOBS)

# A Debian package, build/package/folivox_VERSION_ARCH.deb, and a check of what it installs.
package: build
	@rm -f build/package/folivox_*.deb
	@cmake --build --preset default --target package
	@bash scripts/check-package.sh build/package/folivox_*.deb

clean:
	@rm -rf build build-sanitize
