.PHONY: run test native win64 bench fuzz package format clean
FUZZ_SECONDS ?= 60
run:
	./scripts/run.sh
test:
	./scripts/test.sh
native:
	cmake -S . -B build/native -G Ninja && cmake --build build/native
win64:
	cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake && cmake --build build/win64
bench:
	cmake -S . -B build/native -G Ninja && cmake --build build/native --target miravel-bench
	./build/native/miravel-bench
fuzz:
	./scripts/fuzz.sh -t $(FUZZ_SECONDS)
package:
	./scripts/package.sh
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
clean:
	rm -rf build
