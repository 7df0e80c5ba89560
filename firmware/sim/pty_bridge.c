/* The emulated board on a pseudo-terminal: the chip runs at the pace of the real clock
 * and its UART is the terminal's other end, so the IDE or zarvek-cli can open it like a
 * serial port. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "pyxon_sim.h"

#define FREQUENCY 16000000u

static volatile sig_atomic_t stop_requested;

static void on_signal(int signal_number) {
  (void)signal_number;
  stop_requested = 1;
}

static double now_seconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static int never_done(struct sim* s) {
  (void)s;
  return 0;
}

int sim_serve_pty(struct sim* s, const char* link_path) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    fprintf(stderr, "pyxon-sim: no pseudo-terminal: %s\n", strerror(errno));
    return -1;
  }
  const char* name = ptsname(master);
  /* Our own handle on the terminal keeps it raw and open while no program uses it. */
  int slave = open(name, O_RDWR | O_NOCTTY);
  struct termios tio;
  if (slave < 0 || tcgetattr(slave, &tio) != 0) {
    fprintf(stderr, "pyxon-sim: cannot set up %s\n", name);
    return -1;
  }
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  if (link_path) {
    unlink(link_path);
    if (symlink(name, link_path) != 0) {
      fprintf(stderr, "pyxon-sim: cannot link %s to %s\n", link_path, name);
      return -1;
    }
  }
  printf("%s\n", link_path ? link_path : name);
  fflush(stdout);
  s->forward_fd = master;
  signal(SIGINT, on_signal);
  signal(SIGTERM, on_signal);

  const double start = now_seconds();
  const avr_cycle_count_t first_cycle = s->avr->cycle;
  while (!stop_requested) {
    /* what the queue has no room for waits in the terminal */
    uint8_t buffer[256];
    size_t room = sizeof s->tx - s->tx_len;
    ssize_t n = room ? read(master, buffer, room < sizeof buffer ? room : sizeof buffer) : 0;
    for (ssize_t i = 0; i < n; ++i) sim_send(s, buffer[i]);
    /* keep the emulated time level with the real time, one millisecond at a time */
    double behind = (now_seconds() - start) - (double)(s->avr->cycle - first_cycle) / FREQUENCY;
    if (behind > 0) {
      if (sim_run_until(s, never_done, FREQUENCY / 1000) < 0) break;
    } else {
      struct timespec pause = {0, 1000000};
      nanosleep(&pause, NULL);
    }
  }
  if (link_path) unlink(link_path);
  close(slave);
  close(master);
  return 0;
}
