# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# OFF builds the program alone, as a check that makes a release again does.
BUILD_TESTING ?= ON

.PHONY: run test deps build test-sanitize fuzz package package-check
.PHONY: package-lint package-reproducible test-debian13

deps:
	@scripts/install-deps run

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DBUILD_TESTING=$(BUILD_TESTING) >/dev/null
	@cmake --build $(BUILD)

test: build
	@scripts/install-deps test
	@cd $(BUILD) && ctest --output-on-failure --parallel 2

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    echo "No display found: start it with  xvfb-run -a $(BUILD)/app/cv-veyloom  to run it on a virtual screen."; \
	    exit 1; \
	fi
	@$(BUILD)/app/cv-veyloom

# The program and every test built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

test-sanitize: deps
	@scripts/install-deps test
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEYLOOM_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD)
	@cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure --parallel 2

# The Debian packages of the program and of its debug information, and their checks. Their dates
# are the commit's, so the same commit gives the same packages.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
PACKAGE_TARGETS = package package-check package-lint package-reproducible test-debian13 \
	test-apt-repository
$(PACKAGE_TARGETS): export SOURCE_DATE_EPOCH := $(SOURCE_DATE_EPOCH)

DEB = $$(ls -t $(BUILD)/cv-veyloom_*.deb | head -n 1)
DEBUG_DEB = $$(ls -t $(BUILD)/cv-veyloom-dbgsym_*.deb | head -n 1)

package: build
	@scripts/install-deps package
	@packaging/build-deb.sh $(BUILD)

package-lint: package
	@scripts/install-deps lintian
	@lintian --fail-on error,warning --display-info --pedantic $(DEB) $(DEBUG_DEB)

package-reproducible: package
	@tests/packages/package-reproducible.sh $(BUILD) $(CMAKE_FLAGS)

package-check: package
	@scripts/install-deps mmdebstrap
	@tests/packages/package-check.sh $(DEB)

# The fuzz targets, built with the release's clang and libFuzzer, each run for FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30

fuzz: deps
	@scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DVEYLOOM_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_referral_address fuzz_reminder_settings
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The program for Windows, cross-built: an installer and a zip archive in build-windows/, and
# every test run under Wine (see docs/windows.md). Their dates are the commit's. Given
# WINDOWS_SIGN_PKCS12 and, in the environment, WINDOWS_SIGN_PASSWORD, `make windows` signs them.
WINDOWS_BUILD ?= build-windows
WINDOWS_TARGETS = windows test-windows windows-reproducible windows-verify test-windows-signing \
	windows-winget
.PHONY: $(WINDOWS_TARGETS)
$(WINDOWS_TARGETS): export SOURCE_DATE_EPOCH := $(SOURCE_DATE_EPOCH)

# Where the publisher's downloads are: winget's manifests name the installer of version V as
# $(DOWNLOAD_URL)/V/cv-veyloom-V-setup.exe.
DOWNLOAD_URL ?= https://www.cv-veyloom.com/download
export DOWNLOAD_URL

# The build's folder and installer, named by the version it builds.
WINDOWS_FOLDER = $(WINDOWS_BUILD)/cv-veyloom-$$(scripts/build-version $(WINDOWS_BUILD))
WINDOWS_SETUP = $(WINDOWS_FOLDER)-setup.exe

windows:
	@packaging/windows/build.sh $(WINDOWS_BUILD) -DBUILD_TESTING=$(BUILD_TESTING)

# winget's manifests of the installer, in $(WINDOWS_BUILD)/winget/, and their check.
windows-winget: windows
	@packaging/windows/winget-manifests.sh $(WINDOWS_SETUP) $(WINDOWS_BUILD)/winget
	@tests/release/winget-manifests.sh $(WINDOWS_BUILD)

test-windows: windows-winget
	@tests/windows/test.sh $(WINDOWS_BUILD)

# A second build in another folder gives the same installer and zip, byte for byte.
windows-reproducible: windows
	@tests/packages/windows-reproducible.sh $(WINDOWS_BUILD)

# A published installer (SETUP=path) against this commit's own build, unsigned whatever key is
# given: the same once the signatures are taken off.
ifneq ($(filter windows-verify,$(MAKECMDGOALS)),)
ifeq ($(SETUP),)
$(error Name the installer to check: make windows-verify SETUP=path)
endif
endif
windows-verify: override export WINDOWS_SIGN_PKCS12 :=
windows-verify: windows
	@packaging/windows/verify.sh $(WINDOWS_BUILD) "$(SETUP)"

# The same build signed with a throwaway key, and its checks.
test-windows-signing: override export WINDOWS_SIGN_PKCS12 :=
test-windows-signing: windows
	@tests/windows/signing.sh $(WINDOWS_BUILD)

# `make test` as a newcomer runs it on a fresh Debian 13; there the package built here, the
# program for Windows read through UI Automation under Debian 13's Wine, and `make verify-release`
# of a release made here, signed with a throwaway key.
test-debian13: package windows
	@scripts/install-deps mmdebstrap
	@tests/release/signed-release.sh $(BUILD)/debian13-release
	@tests/packages/debian13.sh $(DEB) $(WINDOWS_FOLDER) $(BUILD)/debian13-release

# A release: every file of the version being built, from a clean checkout, built in a minimal
# Debian 12 system whatever this machine runs, in RELEASE_ROOT/<version>/ (see
# docs/development.md); the build is kept in RELEASE_BUILD for the next one. Given
# RELEASE_SIGN_KEY and, in the environment, RELEASE_SIGN_PASSPHRASE, SHA256SUMS is signed; given
# the Windows key too, the Windows files. `make verify-release [DIR=release folder] [KEY=public
# key]` makes it again from its commit in VERIFY_BUILD and compares it, file by file. DIR is by
# default the release folder of the version the history names newest.
RELEASE_ROOT ?= release
RELEASE_BUILD ?= build-release
VERIFY_BUILD ?= build-verify
DIR ?= $(RELEASE_ROOT)/$(shell sed -n 's/^## \([^ ]*\) .*/\1/p' NEWS.md | head -n 1)
RELEASE_TARGETS = release verify-release test-release apt-repository test-apt-repository
.PHONY: $(RELEASE_TARGETS)
export RELEASE_ROOT RELEASE_BUILD VERIFY_BUILD RELEASE_SIGN_KEY

release:
	@packaging/release.sh

verify-release:
	@packaging/verify-release.sh "$(DIR)" $(if $(KEY),"$(KEY)")

# A release of this commit signed with throwaway keys, checked and made again.
test-release:
	@tests/release/release.sh

# The apt repository the releases are published in: the packages of the release folder DIR (by
# default the one of the version the history names newest) added to APT_REPOSITORY, each
# distribution signed with the publisher's key (RELEASE_SIGN_KEY, with RELEASE_SIGN_PASSPHRASE in
# the environment). A web server serves its public/ folder as it is. A release whose
# SHA256SUMS.asc that key did not sign is refused, and an unsigned one unless ALLOW_UNSIGNED=1.
APT_REPOSITORY ?= apt-repository

apt-repository:
	@ALLOW_UNSIGNED="$(ALLOW_UNSIGNED)" packaging/apt-repository.sh "$(DIR)" "$(APT_REPOSITORY)"

# The apt repository with apt as its client, in minimal Debian 12 and 13 systems: the README's
# steps install the package from it, a later version comes as an update, and a repository
# signed by another key is refused.
test-apt-repository: package
	@scripts/install-deps mmdebstrap
	@tests/release/apt-repository.sh $(DEB) $(DEBUG_DEB) $(CMAKE_FLAGS) -DBUILD_TESTING=OFF
