# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build configure deps format clean package

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program's files (Elaborate/, resizer.cfg, ResizedOne.bmp) go in run/, which git ignores
# and `make clean` leaves alone.
run: build
	mkdir -p run
	TESSARO_PROGRAM_FOLDER=$(CURDIR)/run $(BUILD)/app/tessaro

package: build
	cd $(BUILD) && cpack

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
