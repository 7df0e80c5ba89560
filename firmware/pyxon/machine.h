/* The token machine of the board: the state of one running program and the services
 * its tokens reach. */
#ifndef PYXON_MACHINE_H
#define PYXON_MACHINE_H

#include <stdint.h>

#include "board.h"

#define STACK_CELLS 64
#define CALL_DEPTH 16
#define RX_SIZE 32
#define FRAME_SIZE 32
#define MAX_FRAME 16

/* Runtime error numbers. */
enum {
  E_CALL_OVERFLOW = 1,
  E_RETURN = 2,
  E_STACK_OVERFLOW = 3,
  E_STACK_UNDERFLOW = 4,
  E_NO_MEMORY = 5,
  E_SYSVAR_READ = 6,
  E_SYSVAR_WRITE = 7,
  E_FILE_OPEN = 8,
  E_FILE_NOT_OPEN = 9,
  E_FILE_NOT_READING = 10,
  E_FILE_END = 11,
  E_FILE_NOT_WRITING = 12,
  E_MEMORY_END = 13,
  E_BAUD = 14,
  E_INTERRUPT_KIND = 15,
  E_INVALID_TOKEN = 255,
};

/* What the machine is doing; the test driver reads it from RAM. */
enum {
  STATE_IDLE = 0,     /* no program runs: the link's command loop listens */
  STATE_RUNNING = 1,
  STATE_WAITING = 2,  /* GETCHAR or INPUTNUM waits for a character */
  STATE_ENDED = 3,    /* END was reached */
  STATE_ERROR = 4,    /* an error no handler caught stopped the program */
};

struct interrupt_line {
  uint16_t handler;
  uint16_t saved_pc;
  uint8_t enabled, pending, in_service;
};

struct machine {
  uint16_t pc, instr_start;
  uint8_t error_flag;
  uint8_t stop;    /* the program stops after the current token */
  uint8_t waited;  /* the current token waits for input */
  uint8_t wait_generation; /* the receive count's generation it saw (hal.c) */
  int32_t stack[STACK_CELLS];  /* ring; stack_top is cell 0 */
  uint8_t stack_top, stack_count;
  uint16_t calls[CALL_DEPTH];  /* ring; call_top is position 0 */
  uint8_t call_top, call_depth;
  uint8_t frame;
  uint8_t latch[4];
  volatile struct interrupt_line irq[2];
  uint16_t exception_handler, critical_handler;
  int32_t baud;
  uint16_t file_position;
  uint8_t file_mode;
  uint8_t space0[SPACE0_SIZE];
  uint8_t local[LOCAL_SIZE];
};

extern struct machine vm;
extern volatile uint8_t pyxon_state;
extern volatile uint32_t pyxon_tokens;
/* Set by the receive interrupt when the host's probe stopped the running program. */
extern volatile uint8_t link_probe_seen;
#define LINK_PROBE 0x01

/* machine.c */
void machine_reset(void);
void machine_run(void); /* runs the stored program until it ends or fails */
void raise_error(uint8_t number);
void push(int32_t value);
int32_t pop(void);

/* services.c */
void clock_reset(void);
void push_system_variable(uint8_t number);
void write_system_variable(uint8_t number, int32_t value);
void file_operation(uint8_t function);
uint8_t file_at_end(void);
void set_baud_code(uint8_t code);
void input_number(void);
void get_char(void);
uint32_t random_next(void);
void random_seed(uint32_t seed);
void print_number(int16_t value);
void pause_ticks(uint32_t ticks);

/* hal.c: the chip's peripherals */
void hal_init(void);
void uart_set_baud(int32_t baud);
void uart_send(uint8_t c);
void uart_send_text_P(const char* text);
uint8_t uart_received(void);            /* characters in the receive buffer */
uint8_t uart_peek(uint8_t index);        /* index 0 is the oldest */
void uart_drop(uint8_t count);           /* removes the oldest count characters */
void uart_clear(void);
uint8_t uart_generation(void);           /* changes whenever a character arrives */
int16_t uart_take_timeout(uint16_t ms);  /* oldest character, -1 after the time */
void wait_for_event(uint8_t generation); /* sleeps unless a character came since */
void ee_write(uint16_t address, uint8_t value);
uint32_t uptime_ticks(void);             /* 20 ms ticks since power-on */
void clock_get(int32_t* day, uint32_t* tick_of_day);
void clock_set(int32_t day, uint32_t tick_of_day);
void port_write(uint8_t port, uint8_t value);
uint8_t port_read(uint8_t port);
void port_release(uint8_t port);
void pin_write(uint8_t pin, uint8_t high);
uint8_t pin_read(uint8_t pin);
void pin_release(uint8_t pin);
uint16_t ad_read(uint8_t channel);
void da_write(uint8_t channel, int32_t value);

/* The EEPROM holds the program: every token fetch reads it, so the read is inline. */
static inline uint8_t ee_read(uint16_t address) {
  while (EECR & _BV(EEWE)) {}
  EEAR = address;
  EECR |= _BV(EERE);
  return EEDR;
}

/* serial_eeprom.c: the program's EEPROM on the two-wire bus (address 0xA0) */
uint8_t serial_present(void);
uint8_t serial_read(uint16_t address);
void serial_write(uint16_t address, uint8_t value);

/* The program memory: the internal EEPROM from address 0, or the serial EEPROM. */
extern uint16_t program_size;
extern uint8_t program_external;

static inline uint8_t prog_read(uint16_t address) {
  return program_external ? serial_read(address) : ee_read(address);
}

static inline void prog_write(uint16_t address, uint8_t value) {
  if (program_external) serial_write(address, value);
  else ee_write(address, value);
}

/* link.c */
void link_start(void); /* never returns */
void report_error_text(const char* prefix, uint8_t number);

#endif
