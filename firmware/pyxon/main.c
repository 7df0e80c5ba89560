/* The Pyxon runtime for the ATmega32 and the ATmega128. */
#include <avr/wdt.h>

#include "machine.h"

int main(void) {
  wdt_disable();
  hal_init();
  pyxon_state = STATE_IDLE;
  link_start();
  return 0;
}
