// Kills a program in the middle of its settings saves and counts what is left: each run
// forks a child that saves Kadeno.ini over and over (a large file, so that the kills land
// inside a save), kills it with SIGKILL at a random instant, and checks that the file is
// whole, old or new. Prints the kills, the files left in the folder beside Kadeno.ini and
// the number of times the file was not whole.
//
//   bench_save_kills [kills]
#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "posix/PosixFiles.h"

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 100;
  char folder[] = "/tmp/kadeno-kills-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string path = std::string(folder) + "/Kadeno.ini";
  const std::string a(4 << 20, 'a'), b(2 << 20, 'b');
  if (!kadeno::PosixWriteFileAtomically(path, a)) return 1;
  std::mt19937 random(std::random_device{}());
  int broken = 0;
  for (int k = 0; k < kills; ++k) {
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
      for (int i = 0;; ++i) kadeno::PosixWriteFileAtomically(path, i % 2 ? a : b);
    }
    usleep(1000 + random() % 20000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const auto text = kadeno::PosixReadFile(path);
    broken += !(text == a || text == b);
  }
  int left = -1;  // Kadeno.ini itself does not count
  if (DIR* d = opendir(folder)) {
    while (dirent* e = readdir(d)) left += e->d_name[0] != '.';
    closedir(d);
  }
  std::printf("%d kills: %d stray files left, the settings file not whole %d times\n", kills, left,
              broken);
  std::system(("rm -rf '" + std::string(folder) + "'").c_str());
  return broken == 0 ? 0 : 1;
}
