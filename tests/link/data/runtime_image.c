/* A small runtime image for the update tests: code at the start of flash and a table
   placed by the linker so that its records cross a flash page boundary (and, on the
   ATmega128, lie above 64 KB). */
#include <avr/io.h>

__attribute__((section(".hightext"), used)) const unsigned char table[40] = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
    21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};

int main(void) {
  DDRB = 0xFF;
  for (;;) PORTB++;
}
