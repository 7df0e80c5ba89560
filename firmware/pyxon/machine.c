/* The token dispatch, the stacks, the memories and the error dispatcher. */
#include <string.h>

#include "machine.h"
#include "../../src/base/token_list.h"

enum {
#define TOKEN_ENUM(byte, name, operands) T_##name = byte,
  ZARVEK_TOKENS(TOKEN_ENUM)
#undef TOKEN_ENUM
};

struct machine vm;
uint16_t program_size = INTERNAL_PROGRAM_SIZE;
uint8_t program_external;
volatile uint8_t pyxon_state;
volatile uint32_t pyxon_tokens;
volatile uint8_t link_probe_seen;

enum { W_BIT = 1, W_BYTE = 8, W_WORD = 16 };

/* --- Program memory: the EEPROM from address 0 ------------------------------------ */

static uint8_t fetch(void) {
  uint8_t b = prog_read(vm.pc);
  vm.pc = (uint16_t)(vm.pc + 1u == program_size ? 0u : vm.pc + 1u);
  return b;
}

static uint16_t fetch16(void) {
  uint16_t high = fetch();
  return (uint16_t)(high << 8 | fetch());
}

static void jump_to(uint16_t address) {
  vm.pc = address < program_size ? address : (uint16_t)(address % program_size);
}

/* --- Stacks --------------------------------------------------------------------- */

void push(int32_t value) {
  vm.stack_top = (uint8_t)((vm.stack_top + STACK_CELLS - 1) % STACK_CELLS);
  vm.stack[vm.stack_top] = value;
  if (vm.stack_count < 255) ++vm.stack_count;
  if (vm.stack_count > STACK_CELLS) raise_error(E_STACK_OVERFLOW);
}

int32_t pop(void) {
  if (vm.stack_count == 0) {
    raise_error(E_STACK_UNDERFLOW);
    return 0;
  }
  int32_t value = vm.stack[vm.stack_top];
  vm.stack[vm.stack_top] = 0;
  vm.stack_top = (uint8_t)((vm.stack_top + 1) % STACK_CELLS);
  --vm.stack_count;
  return value;
}

static void push_call(uint16_t address) {
  vm.call_top = (uint8_t)((vm.call_top + CALL_DEPTH - 1) % CALL_DEPTH);
  vm.calls[vm.call_top] = address;
  if (vm.call_depth < 255) ++vm.call_depth;
  if (vm.call_depth > CALL_DEPTH) raise_error(E_CALL_OVERFLOW);
}

static uint16_t pop_call(void) {
  if (vm.call_depth == 0) {
    raise_error(E_RETURN);
    return vm.pc;
  }
  uint16_t address = vm.calls[vm.call_top];
  vm.calls[vm.call_top] = 65535u;
  vm.call_top = (uint8_t)((vm.call_top + 1) % CALL_DEPTH);
  --vm.call_depth;
  return address;
}

/* --- Errors ----------------------------------------------------------------------- */

enum { C_EXCEPTION, C_CRITICAL, C_REPORT };

static uint8_t error_class(uint8_t number) {
  if (number >= E_FILE_OPEN && number <= E_MEMORY_END) return C_EXCEPTION;
  if ((number >= E_CALL_OVERFLOW && number <= E_SYSVAR_WRITE) || number == E_INVALID_TOKEN) return C_CRITICAL;
  return C_REPORT;
}

/* An error that no handler takes is reported on the serial line and stops the program:
 * the board has no run control to pause for. */
void raise_error(uint8_t number) {
  vm.error_flag = 1;
  if (vm.stop) return; /* the program is already stopping: one report is enough */
  switch (error_class(number)) {
    case C_EXCEPTION:
      if (vm.exception_handler == 0) break;
      push_call(vm.pc);
      push(vm.instr_start);
      push(number);
      jump_to(vm.exception_handler);
      return;
    case C_CRITICAL:
      if (vm.critical_handler == 0) break;
      vm.call_depth = 0;
      vm.stack_count = 0;
      push_call(4); /* a RETURN from the handler restarts the program */
      push(vm.instr_start);
      push(number);
      jump_to(vm.critical_handler);
      return;
    default: break;
  }
  report_error_text(error_class(number) == C_EXCEPTION ? "Unbehandelter Ausnahmefehler: "
                    : error_class(number) == C_CRITICAL ? "Unbehandelter, kritischer Fehler: "
                                                         : "",
                    number);
  vm.stop = 1;
  pyxon_state = STATE_ERROR;
}

/* --- Memory spaces and local frames ------------------------------------------------ */

/* Byte offset of an access; 0 when it lies outside a storage of the given size. */
static uint8_t locate(uint8_t width, uint16_t address, uint16_t size, uint16_t* offset) {
  uint32_t at = width == W_BIT ? address / 8u : width == W_BYTE ? address : 2ul * address;
  *offset = (uint16_t)at;
  return at + (width == W_WORD ? 1u : 0u) < size;
}

/* Spaces: 0 RAM, 1 the internal EEPROM behind its program memory, 3 the program memory.
 * Others have no storage on this board. Returns the size and where the space lies. */
enum { IN_RAM, IN_EEPROM, IN_PROGRAM };

static uint16_t space_of(uint8_t space, uint8_t* where) {
  switch (space) {
    case 0: *where = IN_RAM; return SPACE0_SIZE;
    case 1: *where = IN_EEPROM; return SPACE1_SIZE;
    case 3: *where = IN_PROGRAM; return program_size;
    default: return 0;
  }
}

static uint8_t space_byte(uint8_t where, uint16_t offset) {
  switch (where) {
    case IN_RAM: return vm.space0[offset];
    case IN_EEPROM: return ee_read((uint16_t)(INTERNAL_PROGRAM_SIZE + offset));
    default: return prog_read(offset);
  }
}

static void set_space_byte(uint8_t where, uint16_t offset, uint8_t value) {
  switch (where) {
    case IN_RAM: vm.space0[offset] = value; return;
    case IN_EEPROM: ee_write((uint16_t)(INTERNAL_PROGRAM_SIZE + offset), value); return;
    default: prog_write(offset, value); return;
  }
}

static void read_space(uint8_t space, uint8_t width, uint16_t address) {
  /* the global variables (space 0, words) are the most frequent access by far */
  if (space == 0 && width == W_WORD && address < SPACE0_SIZE / 2) {
    const uint8_t* p = vm.space0 + 2 * address;
    push((int32_t)((uint16_t)p[0] << 8 | p[1]));
    return;
  }
  uint8_t base = IN_RAM;
  uint16_t offset;
  uint16_t size = space_of(space, &base);
  if (!locate(width, address, size, &offset)) {
    push(0);
    raise_error(E_NO_MEMORY);
  } else if (width == W_BIT) {
    push((space_byte(base, offset) >> (address % 8)) & 1 ? -1 : 0);
  } else if (width == W_BYTE) {
    push(space_byte(base, offset));
  } else {
    push((int32_t)((uint16_t)space_byte(base, offset) << 8 | space_byte(base, offset + 1)));
  }
}

static void write_space(uint8_t space, uint8_t width, uint16_t address, int32_t value) {
  if (space == 0 && width == W_WORD && address < SPACE0_SIZE / 2) {
    uint8_t* p = vm.space0 + 2 * address;
    p[0] = (uint8_t)(value >> 8);
    p[1] = (uint8_t)value;
    return;
  }
  uint8_t base = IN_RAM;
  uint16_t offset;
  uint16_t size = space_of(space, &base);
  if (!locate(width, address, size, &offset)) {
    raise_error(E_NO_MEMORY);
    return;
  }
  if (width == W_BIT) {
    uint8_t mask = (uint8_t)(1u << (address % 8));
    uint8_t old = space_byte(base, offset);
    set_space_byte(base, offset, value != 0 ? (old | mask) : (old & (uint8_t)~mask));
  } else if (width == W_BYTE) {
    set_space_byte(base, offset, (uint8_t)value);
  } else {
    set_space_byte(base, offset, (uint8_t)(value >> 8));
    set_space_byte(base, offset + 1, (uint8_t)value);
  }
}

/* The local memory may be smaller than every address an operand can form from a deep
 * frame; such an access is refused like one outside a memory space. */
static uint8_t* local_at(uint8_t width, uint8_t operand) {
  uint16_t offset;
  uint16_t start = (uint16_t)vm.frame * FRAME_SIZE;
  locate(width, operand, 0xFFFF, &offset);
  if (start + offset + (width == W_WORD ? 1u : 0u) >= LOCAL_SIZE) return 0;
  return vm.local + start + offset;
}

static void read_local(uint8_t width, uint8_t operand) {
  const uint8_t* p = local_at(width, operand);
  if (!p) {
    push(0);
    raise_error(E_NO_MEMORY);
  } else if (width == W_BIT) {
    push((*p >> (operand % 8)) & 1 ? -1 : 0);
  } else if (width == W_BYTE) {
    push(*p);
  } else {
    push((int32_t)((uint16_t)p[0] << 8 | p[1]));
  }
}

static void write_local(uint8_t width, uint8_t operand, int32_t value) {
  uint8_t* p = local_at(width, operand);
  if (!p) {
    raise_error(E_NO_MEMORY);
  } else if (width == W_BIT) {
    uint8_t mask = (uint8_t)(1u << (operand % 8));
    *p = value != 0 ? (*p | mask) : (*p & (uint8_t)~mask);
  } else if (width == W_BYTE) {
    *p = (uint8_t)value;
  } else {
    p[0] = (uint8_t)(value >> 8);
    p[1] = (uint8_t)value;
  }
}

/* --- Pins and ports ----------------------------------------------------------------- */

static uint8_t pin_latch(uint8_t pin) { return pin < 32 && ((vm.latch[pin / 8] >> (pin % 8)) & 1); }

static void set_pin_latch(uint8_t pin, uint8_t high) {
  if (pin >= 32) return;
  uint8_t mask = (uint8_t)(1u << (pin % 8));
  vm.latch[pin / 8] = high ? (vm.latch[pin / 8] | mask) : (vm.latch[pin / 8] & (uint8_t)~mask);
}

static void drive_port(uint8_t port, uint8_t value) {
  if (port >= 4) return;
  vm.latch[port] = value;
  port_write(port, value);
}

/* --- Arithmetic helpers --------------------------------------------------------------- */

static int32_t s16(int32_t v) { return (int16_t)v; }

static int32_t square_root(int32_t a) {
  if (a < 0) return 0;
  uint16_t r = 0;
  for (uint16_t bit = 1u << 7; bit; bit >>= 1) {
    uint16_t t = r | bit;
    if ((uint32_t)t * t <= (uint32_t)a) r = t;
  }
  /* nearest integer: a lies above the midpoint when a - r*r > r */
  return (int32_t)r + ((uint32_t)a - (uint32_t)r * r > r ? 1 : 0);
}

/* Operands are 16-bit; the products and quotients use the chip's 16-bit routines, which
 * are several times faster than the 32-bit ones. */
static void arithmetic(uint8_t token) {
  int16_t b = (int16_t)pop();
  int16_t a = (int16_t)pop();
  int32_t r;
  switch (token) {
    case T_ADD: r = (int32_t)a + b; break;
    case T_SUB: r = (int32_t)a - b; break;
    case T_MUL: r = (int32_t)a * b; break;
    case T_DIV:
      if (b == 0) r = 0;
      else if (b == -1) r = -(int32_t)a; /* -32768 / -1 is 32768 */
      else r = a / b;
      break;
    case T_MOD: r = b == 0 || b == -1 ? 0 : a % b; break;
    case T_MAX: r = a > b ? a : b; break;
    case T_MIN: r = a < b ? a : b; break;
    case T_GT: r = a > b ? -1 : 0; break;
    case T_GE: r = a >= b ? -1 : 0; break;
    case T_LT: r = a < b ? -1 : 0; break;
    case T_LE: r = a <= b ? -1 : 0; break;
    case T_EQ: r = a == b ? -1 : 0; break;
    default: r = a != b ? -1 : 0; break;
  }
  push(r);
}

static void logic(uint8_t token) {
  uint32_t b = (uint32_t)pop();
  uint32_t a = (uint32_t)pop();
  uint32_t r;
  switch (token) {
    case T_AND: r = a & b; break;
    case T_NAND: r = ~(a & b); break;
    case T_OR: r = a | b; break;
    case T_NOR: r = ~(a | b); break;
    case T_XOR: r = a ^ b; break;
    case T_SHL: r = a << (b & 31); break;
    default: r = a >> (b & 31); break;
  }
  push((int32_t)r);
}

static void print_string(void) {
  for (;;) {
    uint8_t c = fetch();
    if (c == 0) break;
    uart_send(c);
    if (vm.pc == 0) break; /* the text ran into the end of program memory */
  }
}

static void set_handler(uint8_t kind, uint16_t address) {
  switch (kind) {
    case 0:
    case 1:
      vm.irq[kind].handler = address;
      vm.irq[kind].enabled = address != 0;
      return;
    case 254: vm.exception_handler = address; return;
    case 255: vm.critical_handler = address; return;
    default: raise_error(E_INTERRUPT_KIND); return;
  }
}

/* --- Dispatch --------------------------------------------------------------------- */

static void dispatch(uint8_t token) {
  switch (token) {
    case T_CLRSTACK: memset(vm.stack, 0, sizeof vm.stack); return;
    case T_PAUSE: pause_ticks((uint32_t)pop()); return;
    case T_GOTO: jump_to(fetch16()); return;
    case T_JUMPF: {
      uint16_t target = fetch16();
      if (pop() == 0 && !vm.error_flag) jump_to(target);
      return;
    }
    case T_GOSUB:
    case T_CALLF: {
      uint16_t target = fetch16();
      push_call(vm.pc);
      if (vm.error_flag) return;
      jump_to(target);
      if (token == T_CALLF && vm.frame < MAX_FRAME) ++vm.frame;
      return;
    }
    case T_RETURN:
    case T_RETF: {
      uint16_t target = pop_call();
      if (vm.error_flag) return;
      jump_to(target);
      if (token == T_RETF && vm.frame > 0) --vm.frame;
      return;
    }
    case T_RETI:
      jump_to(vm.irq[0].saved_pc);
      vm.irq[0].in_service = 0;
      return;

    case T_PINREAD: push(pin_read(fetch()) ? -1 : 0); return;
    case T_PORTREAD: push(port_read(fetch())); return;
    case T_WPORTREAD: {
      uint8_t w = fetch();
      uint8_t high = port_read((uint8_t)(2 * w));
      push((int32_t)((uint16_t)high << 8 | port_read((uint8_t)(2 * w + 1))));
      return;
    }
    case T_PINWRITE: {
      uint8_t pin = fetch();
      int32_t v = pop();
      set_pin_latch(pin, v != 0);
      pin_write(pin, v != 0);
      return;
    }
    case T_PORTWRITE: {
      uint8_t port = fetch();
      drive_port(port, (uint8_t)pop());
      return;
    }
    case T_WPORTWRITE: {
      uint8_t w = fetch();
      int32_t v = pop();
      drive_port((uint8_t)(2 * w), (uint8_t)(v >> 8));
      drive_port((uint8_t)(2 * w + 1), (uint8_t)v);
      return;
    }
    case T_ADREAD: {
      int32_t r = ad_read(fetch());
      push(r);
      push(r >> 2);
      return;
    }
    case T_DAWRITE: {
      uint8_t channel = fetch();
      da_write(channel, pop());
      return;
    }
    case T_PINTOGGLE:
    case T_PINPULSE: {
      uint8_t pin = fetch();
      for (uint8_t k = token == T_PINPULSE ? 2 : 1; k > 0; --k) {
        uint8_t high = !pin_latch(pin);
        pin_write(pin, high);
        set_pin_latch(pin, high);
      }
      return;
    }
    case T_DEACTPIN: pin_release(fetch()); return;
    case T_DEACTPORT: port_release(fetch()); return;
    case T_DEACTWPORT: {
      uint8_t w = fetch();
      port_release((uint8_t)(2 * w));
      port_release((uint8_t)(2 * w + 1));
      return;
    }

    case T_PUSHW: push(fetch16()); return;
    case T_PUSHB: push(fetch()); return;
    case T_LBITREAD: read_local(W_BIT, fetch()); return;
    case T_LBYTEREAD: read_local(W_BYTE, fetch()); return;
    case T_LWORDREAD: read_local(W_WORD, fetch()); return;
    case T_LBITWRITE: {
      uint8_t operand = fetch();
      write_local(W_BIT, operand, pop());
      return;
    }
    case T_LBYTEWRITE: {
      uint8_t operand = fetch();
      write_local(W_BYTE, operand, pop());
      return;
    }
    case T_LWORDWRITE: {
      uint8_t operand = fetch();
      write_local(W_WORD, operand, pop());
      return;
    }
    case T_TABLEREAD: {
      uint16_t table = fetch16();
      uint16_t offset = (uint16_t)(table + 2u * (uint16_t)pop());
      if ((uint32_t)offset + 1 >= program_size) {
        push(0);
        raise_error(E_NO_MEMORY);
        return;
      }
      push((int32_t)((uint16_t)prog_read(offset) << 8 | prog_read(offset + 1)));
      return;
    }
    case T_MBITREAD: {
      uint8_t space = fetch();
      read_space(space, W_BIT, (uint16_t)pop());
      return;
    }
    case T_MBYTEREAD: {
      uint8_t space = fetch();
      read_space(space, W_BYTE, (uint16_t)pop());
      return;
    }
    case T_MWORDREAD: {
      uint8_t space = fetch();
      read_space(space, W_WORD, (uint16_t)pop());
      return;
    }
    case T_MBITWRITE:
    case T_MBYTEWRITE:
    case T_MWORDWRITE: {
      uint8_t space = fetch();
      uint8_t width = token == T_MBITWRITE ? W_BIT : token == T_MBYTEWRITE ? W_BYTE : W_WORD;
      uint16_t address = (uint16_t)pop();
      int32_t value = pop();
      write_space(space, width, address, value);
      return;
    }

    case T_SYSREAD: push_system_variable(fetch()); return;
    case T_SYSWRITE: {
      uint8_t number = fetch();
      write_system_variable(number, pop());
      return;
    }
    case T_PRINTNUM: print_number((int16_t)pop()); return;
    case T_PRINTSTR: print_string(); return;
    case T_PUTCHAR: uart_send((uint8_t)pop()); return;
    case T_RXREADY: push(uart_received() > 0 ? -1 : 0); return;
    case T_GETCHAR: get_char(); return;
    case T_INPUTNUM: input_number(); return;

    case T_NOT: push(~pop()); return;
    case T_AND:
    case T_NAND:
    case T_OR:
    case T_NOR:
    case T_XOR:
    case T_SHL:
    case T_SHR: logic(token); return;
    case T_RANDSEED: random_seed((uint32_t)pop()); return;
    case T_RAND: push((int32_t)random_next()); return;
    case T_NEG: push(-s16(pop())); return;
    case T_ABS: {
      int32_t a = s16(pop());
      push(a < 0 ? -a : a);
      return;
    }
    case T_SQR: push(square_root(s16(pop()))); return;
    case T_ISNEG: push(s16(pop()) < 0 ? -1 : 0); return;
    case T_ADD:
    case T_SUB:
    case T_MUL:
    case T_DIV:
    case T_MOD:
    case T_MAX:
    case T_MIN:
    case T_GT:
    case T_GE:
    case T_LT:
    case T_LE:
    case T_EQ:
    case T_NE: arithmetic(token); return;

    case T_FILEOP: file_operation(fetch()); return;
    case T_EOF_: push(file_at_end() ? -1 : 0); return;
    case T_SETBAUD: set_baud_code(fetch()); return;
    case T_SETHANDLER: {
      uint8_t kind = fetch();
      set_handler(kind, fetch16());
      return;
    }

    case T_DUP: {
      int32_t v = pop();
      push(v);
      push(v);
      return;
    }
    case T_DROP: pop(); return;
    case T_SWAP: {
      int32_t a = pop();
      int32_t b = pop();
      push(a);
      push(b);
      return;
    }
    case T_XCHG: {
      uint8_t depth = (uint8_t)(fetch() + 1u);
      if (depth == 0 || depth >= STACK_CELLS) {
        raise_error(E_STACK_UNDERFLOW);
        return;
      }
      uint8_t other = (uint8_t)((vm.stack_top + depth) % STACK_CELLS);
      int32_t t = vm.stack[vm.stack_top];
      vm.stack[vm.stack_top] = vm.stack[other];
      vm.stack[other] = t;
      return;
    }
    case T_END:
      jump_to(4);
      vm.stop = 1;
      pyxon_state = STATE_ENDED;
      return;
    default: raise_error(E_INVALID_TOKEN); return;
  }
}

/* --- Running ------------------------------------------------------------------------ */

void machine_reset(void) {
  memset(&vm, 0, sizeof vm);
  vm.pc = 4;
  vm.file_mode = 2;
  vm.baud = 19200;
  uart_set_baud(vm.baud);
  for (uint8_t port = 0; port < 4; ++port) {
    port_write(port, 0);
    port_release(port);
  }
  da_write(0, 0);
  da_write(1, 0);
  clock_reset();
}

void machine_run(void) {
  pyxon_state = STATE_RUNNING;
  while (!vm.stop && !link_probe_seen) {
    vm.error_flag = 0;
    vm.waited = 0;
    vm.instr_start = vm.pc;
    dispatch(fetch());
    ++pyxon_tokens;
    for (uint8_t k = 0; k < 2; ++k) {
      if (!vm.irq[k].pending) continue;
      vm.irq[k].saved_pc = vm.pc;
      jump_to(vm.irq[k].handler);
      vm.irq[k].pending = 0;
    }
    if (vm.waited && !vm.stop && !link_probe_seen) {
      pyxon_state = STATE_WAITING;
      wait_for_event(vm.wait_generation);
      pyxon_state = STATE_RUNNING;
    }
  }
}
