#!/usr/bin/env bash
# Lists the functions longer than LIMIT lines (default 80) in the project's sources outside
# tests/ and bench/, as "file:line: name: N lines". Exits 1 when there is any.
# Usage: scripts/check-function-length.sh [LIMIT]
#
# A brace-matching scan, not a parser: comments and string and character literals (raw
# strings too) are blanked out first; a brace that opens at namespace or class scope and is not
# a namespace, class, struct, enum or "= {" initializer is taken for a function body, and the
# lambdas and blocks inside it count as part of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cc' '*.h' | grep -v -E '^(tests|bench)/' | perl -e '
  my $limit = shift;
  my $found = 0;
  while (my $file = <STDIN>) {
    chomp $file;
    open(my $in, "<", $file) or die "$file: $!";
    my $text = do { local $/; <$in> };
    close $in;
    # Keeps the newlines of what it blanks, so that line numbers stay right.
    my $blank = sub { my $s = shift; $s =~ s/[^\n]/ /g; $s };
    $text =~ s{R"([^(\s]*)\(.*?\)\1"|//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\x27(?:\\.|[^\x27\\\n])*\x27}
              {$blank->($&)}gse;
    my @open;  # per open brace: [kind, line, name]
    my $statement = "";
    my $line = 1;
    for my $c (split //, $text) {
      if ($c eq "\n") {
        $line++;
        $statement .= " ";
      } elsif ($c eq "{") {
        my $kind = "block";
        my $name = "?";
        if (!grep { $_->[0] eq "function" } @open) {
          if ($statement =~ /\b(namespace|class|struct|union|enum)\b[^()]*$/ ||
              $statement =~ /\bextern\s*$/) {
            $kind = "scope";
          } elsif ($statement =~ /=\s*$/) {
            $kind = "initializer";
          } else {
            $kind = "function";
            $name = $1 if $statement =~ /(operator\s*[^\s(]+|[~\w:]+)\s*\(/;
          }
        }
        push @open, [$kind, $line, $name];
        $statement = "";
      } elsif ($c eq "}") {
        my $brace = pop @open;
        if ($brace && $brace->[0] eq "function" && $line - $brace->[1] + 1 > $limit) {
          printf "%s:%d: %s: %d lines\n", $file, $brace->[1], $brace->[2], $line - $brace->[1] + 1;
          $found = 1;
        }
        $statement = "";
      } elsif ($c eq ";") {
        $statement = "";
      } else {
        $statement .= $c;
      }
    }
  }
  exit $found;
' "${1:-80}"
