/* The services behind the tokens: system variables and the clock, the data file, the
 * serial line's number and character input, baud rates, random numbers. */
#include "machine.h"

/* --- Calendar: days counted from 1 January 1970 ------------------------------------ */

#define TICKS_PER_DAY 4320000ul /* 20 ms ticks */

static int32_t days_from_civil(int16_t y, uint8_t m, uint8_t d) {
  y -= m <= 2;
  int32_t era = (y >= 0 ? y : y - 399) / 400;
  int32_t yoe = y - era * 400;
  int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct date_fields {
  int16_t year;
  int8_t month, day, hour, minute, second, ticks; /* ticks: 20 ms within the second */
};

static void civil_from_days(int32_t z, struct date_fields* f) {
  z += 719468;
  int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  int32_t doe = z - era * 146097;
  int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int32_t mp = (5 * doy + 2) / 153;
  f->day = (int8_t)(doy - (153 * mp + 2) / 5 + 1);
  f->month = (int8_t)(mp < 10 ? mp + 3 : mp - 9);
  f->year = (int16_t)(yoe + era * 400 + (f->month <= 2));
}

static uint8_t days_in_month(int16_t y, int8_t m) {
  static const uint8_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  uint8_t leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

static void split_clock(struct date_fields* f, int32_t* day_out) {
  int32_t day;
  uint32_t tick;
  clock_get(&day, &tick);
  civil_from_days(day, f);
  uint32_t seconds = tick / 50;
  f->ticks = (int8_t)(tick % 50);
  f->hour = (int8_t)(seconds / 3600);
  f->minute = (int8_t)(seconds / 60 % 60);
  f->second = (int8_t)(seconds % 60);
  if (day_out) *day_out = day;
}

void clock_reset(void) { clock_set(days_from_civil(2005, 1, 1), 0); }

enum {
  SV_YEAR, SV_MONTH, SV_DAY, SV_DOW, SV_HOUR, SV_MINUTE, SV_SECOND, SV_TIMER,
  SV_INCOUNT_BEEP, SV_FREQ1, SV_FREQ2, SV_FILEFREE, SV_FILESIZE, SV_KEY, SV_KEYCOUNT
};

static uint16_t image_length(void) { return (uint16_t)prog_read(0) << 8 | prog_read(1); }
static uint16_t file_size(void) { return (uint16_t)prog_read(2) << 8 | prog_read(3); }

static int32_t file_capacity(void) {
  int32_t room = (int32_t)program_size - 4 - image_length();
  return room <= 0 ? 0 : room / 2;
}

static int32_t system_variable(uint8_t number) {
  if (number <= SV_TIMER) {
    struct date_fields f;
    int32_t day;
    split_clock(&f, &day);
    switch (number) {
      case SV_YEAR: return f.year;
      case SV_MONTH: return f.month;
      case SV_DAY: return f.day;
      case SV_DOW: return (int32_t)(((day + 3) % 7 + 7) % 7) + 1; /* 1970-01-01 was a Thursday */
      case SV_HOUR: return f.hour;
      case SV_MINUTE: return f.minute;
      case SV_SECOND: return f.second;
      default: {
        int32_t d;
        uint32_t tick;
        clock_get(&d, &tick);
        return (int32_t)(tick % 65535u);
      }
    }
  }
  switch (number) {
    case SV_INCOUNT_BEEP: return uart_received();
    case SV_FREQ1:
    case SV_FREQ2: return 0; /* no frequency counters on this board */
    case SV_FILEFREE: return file_capacity() - file_size();
    case SV_FILESIZE: return file_size();
    case SV_KEY: return -1;
    case SV_KEYCOUNT: return 0;
    default: return 0;
  }
}

void push_system_variable(uint8_t number) {
  push(system_variable(number));
  /* the 0 goes on the stack before the error, as the reads of memory do */
  if (number > SV_KEYCOUNT) raise_error(E_SYSVAR_READ);
}

void write_system_variable(uint8_t number, int32_t value) {
  uint8_t clock_field = number <= SV_TIMER && number != SV_DOW;
  if (!clock_field && number != SV_INCOUNT_BEEP && number != SV_KEYCOUNT) {
    raise_error(E_SYSVAR_WRITE);
    return;
  }
  if (!clock_field) return; /* BEEP: no beeper on this board; KEYCOUNT: ignored */
  struct date_fields f;
  split_clock(&f, 0);
  int32_t year = f.year, month = f.month, day = f.day, hour = f.hour, minute = f.minute,
          second = f.second, ticks = f.ticks;
  switch (number) {
    case SV_YEAR: year = value; break;
    case SV_MONTH: month = value; break;
    case SV_DAY: day = value; break;
    case SV_HOUR: hour = value; break;
    case SV_MINUTE: minute = value; break;
    case SV_SECOND: second = value; break;
    default: ticks = value; break;
  }
  /* an invalid date or time leaves the clock running as before */
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > days_in_month((int16_t)year, (int8_t)month) || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 59 || ticks < 0 || ticks > 49)
    return;
  uint32_t tick = ((uint32_t)hour * 3600u + (uint32_t)minute * 60u + (uint32_t)second) * 50u + (uint32_t)ticks;
  clock_set(days_from_civil((int16_t)year, (uint8_t)month, (uint8_t)day), tick);
}

/* --- Data file: words behind the image in program memory --------------------------- */

enum { F_READING = 0, F_WRITING = 1, F_CLOSED = 2 };

uint8_t file_at_end(void) { return vm.file_position >= file_size(); }

void file_operation(uint8_t function) {
  uint16_t base = (uint16_t)(4u + image_length());
  switch (function) {
    case 1:
    case 2:
    case 3:
      if (vm.file_mode != F_CLOSED) {
        raise_error(E_FILE_OPEN);
        return;
      }
      vm.file_mode = function == 1 ? F_READING : F_WRITING;
      vm.file_position = function == 3 ? file_size() : 0;
      return;
    case 4:
      if (vm.file_mode == F_CLOSED) {
        raise_error(E_FILE_NOT_OPEN);
        return;
      }
      /* closing after reading keeps the stored size */
      if (vm.file_mode == F_WRITING) {
        prog_write(2, (uint8_t)(vm.file_position >> 8));
        prog_write(3, (uint8_t)vm.file_position);
      }
      vm.file_mode = F_CLOSED;
      return;
    case 5: {
      int32_t v = pop();
      if (vm.file_mode != F_WRITING) {
        raise_error(E_FILE_NOT_WRITING);
        return;
      }
      if ((int32_t)vm.file_position >= file_capacity()) {
        raise_error(E_MEMORY_END);
        return;
      }
      uint16_t at = (uint16_t)(base + 2u * vm.file_position);
      prog_write(at, (uint8_t)(v >> 8));
      prog_write(at + 1, (uint8_t)v);
      ++vm.file_position;
      return;
    }
    case 6: {
      if (vm.file_mode != F_READING) {
        push(0);
        raise_error(E_FILE_NOT_READING);
        return;
      }
      if (vm.file_position == file_size()) {
        push(0);
        raise_error(E_FILE_END);
        return;
      }
      /* a size beyond the capacity (a program wrote the header) must not read past
       * the program memory */
      uint32_t at = base + 2ul * vm.file_position;
      if (at + 1 >= program_size) {
        push(0);
        raise_error(E_MEMORY_END);
        return;
      }
      push((int32_t)((uint16_t)prog_read((uint16_t)at) << 8 | prog_read((uint16_t)at + 1)));
      ++vm.file_position;
      return;
    }
    default: return;
  }
}

/* --- Serial line ---------------------------------------------------------------------- */

static const int32_t baud_rates[] = {300, 600, 1200, 2400, 4800, 9600, 14400,
                                     19200, 28800, 38400, 57600, 76800, 115200};

void set_baud_code(uint8_t code) {
  if (code >= sizeof baud_rates / sizeof baud_rates[0]) {
    raise_error(E_BAUD);
    return;
  }
  vm.baud = baud_rates[code];
  uart_set_baud(vm.baud);
}

void print_number(int16_t value) {
  char digits[6];
  uint8_t n = 0;
  uint16_t magnitude = value < 0 ? (uint16_t)(-(int32_t)value) : (uint16_t)value;
  do {
    digits[n++] = (char)('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) uart_send('-');
  while (n) uart_send((uint8_t)digits[--n]);
}

void get_char(void) {
  vm.wait_generation = uart_generation(); /* before looking: a character after it wakes us */
  if (uart_received() == 0) {
    vm.pc = vm.instr_start; /* runs again */
    vm.waited = 1;
    return;
  }
  push(uart_peek(0));
  uart_drop(1);
}

/* A number ended by a carriage return: a '-' goes in front of what was collected, the
 * text keeps at most five characters, anything that is not a number gives 0. */
void input_number(void) {
  vm.wait_generation = uart_generation();
  char text[6];
  uint8_t length = 0, consumed = 0, count = uart_received();
  for (uint8_t i = 0; i < count; ++i) {
    char c = (char)uart_peek(i);
    if (c == '\r') {
      consumed = (uint8_t)(i + 1);
      break;
    }
    if (c == '-') {
      for (uint8_t k = length; k > 0; --k) text[k] = text[k - 1];
      text[0] = '-';
      ++length;
    } else {
      text[length++] = c;
    }
    if (length > 5) length = 5;
  }
  if (consumed == 0) {
    vm.pc = vm.instr_start;
    vm.waited = 1;
    return;
  }
  uint8_t i = 0, negative = 0;
  int32_t value = 0;
  while (i < length && text[i] == ' ') ++i;
  if (i < length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == length) value = 0;
  for (; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      value = 0;
      negative = 0;
      break;
    }
    value = value * 10 + (text[i] - '0');
  }
  push(negative ? -value : value);
  uart_drop(consumed);
}

/* --- Random numbers: kept from power-on, like one generator for every run ---------- */

static uint32_t seed;

void random_seed(uint32_t value) { seed = value; }

uint32_t random_next(void) {
  seed = seed * 134775813ul + 1u;
  return (uint32_t)(((uint64_t)seed * 2147483647ull) >> 32);
}

/* --- PAUSE ---------------------------------------------------------------------------- */

void pause_ticks(uint32_t ticks) {
  uint32_t start = uptime_ticks();
  while (uptime_ticks() - start < ticks && !link_probe_seen) wait_for_event(uart_generation());
}
