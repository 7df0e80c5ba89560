/* The chip's peripherals as the runtime uses them: the serial line with its receive
 * buffer, the 20 ms clock, the interrupt input, the EEPROM, ports, A/D and PWM. */
#include <avr/eeprom.h>
#include <avr/interrupt.h>
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#include <util/atomic.h>

#include "machine.h"

/* --- Serial line ---------------------------------------------------------------------- */

static volatile uint8_t rx_buffer[RX_SIZE];
static volatile uint8_t rx_head, rx_count, rx_generation;
static uint8_t tx_used;

/* A full buffer drops its oldest character, as the token machine's does. */
ISR(UART_RX_VECT) {
  uint8_t c = UART_UDR;
  /* The host's probe stops a running program, so that an upload can reach the board;
   * a program therefore never receives the byte 1. */
  if (c == LINK_PROBE && (pyxon_state == STATE_RUNNING || pyxon_state == STATE_WAITING)) {
    link_probe_seen = 1;
    ++rx_generation;
    return;
  }
  if (rx_count == RX_SIZE) {
    rx_head = (uint8_t)((rx_head + 1) % RX_SIZE);
    --rx_count;
  }
  rx_buffer[(rx_head + rx_count) % RX_SIZE] = c;
  ++rx_count;
  ++rx_generation;
}

void uart_set_baud(int32_t baud) {
  /* let the last character leave at the old speed */
  if (tx_used) {
    while (!(UART_UCSRA & _BV(UART_UDRE))) {}
    while (!(UART_UCSRA & _BV(TXC_BIT))) {}
  }
  uint32_t ubrr = (F_CPU / 8 + (uint32_t)baud / 2) / (uint32_t)baud - 1;
  if (ubrr > 4095) {
    ubrr = (F_CPU / 16 + (uint32_t)baud / 2) / (uint32_t)baud - 1;
    UART_UCSRA = 0;
  } else {
    UART_UCSRA = _BV(UART_U2X);
  }
  UART_UBRRH = (uint8_t)(ubrr >> 8);
  UART_UBRRL = (uint8_t)ubrr;
}

void uart_send(uint8_t c) {
  while (!(UART_UCSRA & _BV(UART_UDRE))) {}
  UART_UCSRA |= _BV(TXC_BIT); /* writing one clears the flag; U2X stays */
  UART_UDR = c;
  tx_used = 1;
}

void uart_send_text_P(const char* text) {
  for (uint8_t c; (c = pgm_read_byte(text)) != 0; ++text) uart_send(c);
}

uint8_t uart_received(void) { return rx_count; }

uint8_t uart_peek(uint8_t index) {
  uint8_t c;
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { c = rx_buffer[(rx_head + index) % RX_SIZE]; }
  return c;
}

void uart_drop(uint8_t count) {
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) {
    if (count > rx_count) count = rx_count;
    rx_head = (uint8_t)((rx_head + count) % RX_SIZE);
    rx_count = (uint8_t)(rx_count - count);
  }
}

void uart_clear(void) {
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { rx_count = 0; }
}

uint8_t uart_generation(void) { return rx_generation; }

/* Sleeps until the next interrupt unless a character arrived since the caller looked. */
void wait_for_event(uint8_t generation) {
  cli();
  if (generation == rx_generation) {
    sleep_enable();
    sei();
    sleep_cpu();
    sleep_disable();
  }
  sei();
}

int16_t uart_take_timeout(uint16_t ms) {
  uint32_t start = uptime_ticks();
  for (;;) {
    uint8_t generation = rx_generation;
    if (rx_count) {
      uint8_t c = uart_peek(0);
      uart_drop(1);
      return c;
    }
    if ((uptime_ticks() - start) * 20u >= ms) return -1;
    wait_for_event(generation);
  }
}

/* --- Clock: a 4 ms compare interrupt, five of them make the 20 ms tick ----------------- */

#define TICKS_PER_DAY 4320000ul

static volatile uint8_t sub_tick;
static volatile uint32_t uptime, tick_of_day;
static volatile int32_t clock_day;

ISR(TICK_VECT) {
  if (++sub_tick < 5) return;
  sub_tick = 0;
  ++uptime;
  if (++tick_of_day == TICKS_PER_DAY) {
    tick_of_day = 0;
    ++clock_day;
  }
}

uint32_t uptime_ticks(void) {
  uint32_t t;
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { t = uptime; }
  return t;
}

void clock_get(int32_t* day, uint32_t* tick) {
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) {
    *day = clock_day;
    *tick = tick_of_day;
  }
}

void clock_set(int32_t day, uint32_t tick) {
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) {
    clock_day = day;
    tick_of_day = tick;
    sub_tick = 0;
  }
}

/* --- Interrupt input -------------------------------------------------------------------- */

ISR(INT0_vect) {
  if (!vm.irq[0].enabled || vm.irq[0].in_service) return;
  vm.irq[0].in_service = 1;
  vm.irq[0].pending = 1;
}

/* --- EEPROM ------------------------------------------------------------------------------ */

void ee_write(uint16_t address, uint8_t value) { eeprom_update_byte((uint8_t*)address, value); }

/* --- Ports and pins: byte ports 0 to 3 are the chip's ports A to D ----------------------- */

static volatile uint8_t* const port_regs[4] = {&PORTA, &PORTB, &PORTC, &PORTD};
static volatile uint8_t* const ddr_regs[4] = {&DDRA, &DDRB, &DDRC, &DDRD};
static volatile uint8_t* const pin_regs[4] = {&PINA, &PINB, &PINC, &PIND};

void port_write(uint8_t port, uint8_t value) {
  if (port >= 4) return;
  *port_regs[port] = value;
  *ddr_regs[port] = 0xFF;
}

uint8_t port_read(uint8_t port) {
  if (port >= 4) return 0;
  *ddr_regs[port] = 0;
  return *pin_regs[port];
}

/* Released pins float, except the interrupt input (port 3), which keeps its pull-up so
 * that an open button does not fire it. */
static uint8_t released_level(uint8_t port) { return port == 3 ? INT0_PIN_MASK : 0; }

void port_release(uint8_t port) {
  if (port >= 4) return;
  *ddr_regs[port] = 0;
  *port_regs[port] = released_level(port);
}

void pin_write(uint8_t pin, uint8_t high) {
  if (pin >= 32) return;
  uint8_t mask = (uint8_t)(1u << (pin % 8));
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) {
    if (high) *port_regs[pin / 8] |= mask;
    else *port_regs[pin / 8] &= (uint8_t)~mask;
    *ddr_regs[pin / 8] |= mask;
  }
}

uint8_t pin_read(uint8_t pin) {
  if (pin >= 32) return 0;
  uint8_t mask = (uint8_t)(1u << (pin % 8));
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { *ddr_regs[pin / 8] &= (uint8_t)~mask; }
  return (*pin_regs[pin / 8] & mask) != 0;
}

void pin_release(uint8_t pin) {
  if (pin >= 32) return;
  uint8_t mask = (uint8_t)(1u << (pin % 8));
  ATOMIC_BLOCK(ATOMIC_RESTORESTATE) {
    *ddr_regs[pin / 8] &= (uint8_t)~mask;
    *port_regs[pin / 8] = (uint8_t)((*port_regs[pin / 8] & ~mask) | (released_level(pin / 8) & mask));
  }
}

/* --- A/D and D/A ---------------------------------------------------------------------------- */

uint16_t ad_read(uint8_t channel) {
  if (channel >= 8) return 0;
  ADMUX = _BV(REFS0) | channel;
  ADCSRA = _BV(ADEN) | _BV(ADSC) | _BV(ADPS2) | _BV(ADPS1) | _BV(ADPS0);
  while (ADCSRA & _BV(ADSC)) {}
  return ADC;
}

/* Channels 0 and 1 are 8-bit PWM outputs; the value's low byte is the duty. */
void da_write(uint8_t channel, int32_t value) {
  if (channel == 0) {
    OCR1A = (uint8_t)value;
    PWM_DDR |= _BV(PWM_BIT_A);
  } else if (channel == 1) {
    OCR1B = (uint8_t)value;
    PWM_DDR |= _BV(PWM_BIT_B);
  }
}

void hal_init(void) {
  UART_UCSRC_INIT();
  uart_set_baud(19200);
  UART_UCSRB = _BV(UART_RXEN) | _BV(UART_TXEN) | _BV(UART_RXCIE);
  TICK_TIMER_INIT();
  INT0_INIT();
  TCCR1A = _BV(COM1A1) | _BV(COM1B1) | _BV(WGM10);
  TCCR1B = _BV(WGM12) | _BV(CS10);
  set_sleep_mode(SLEEP_MODE_IDLE);
  sei();
}
