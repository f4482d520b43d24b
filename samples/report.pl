#!/usr/bin/perl
# report.pl - prints a summary of the shop's log
use strict;
use warnings;

my %count;
my $dim = 20;

sub read_log {
    my ($path) = @_;
    open(my $fh, '<', $path) or die "cannot open $path: $!";
    while (my $line = <$fh>) {
        chomp $line;
        if ($line =~ /^(\S+) (\S+)/) {
            $count{$2}++;
        } elsif ($line eq "") {
            next;
        } else {
            warn "odd line: $line\n";
        }
    }
    close $fh;
}

sub print_summary {
    foreach my $key (sort keys %count) {
        printf "%-*s %d\n", $dim, $key, $count{$key};
    }
}

# call read_log first, then print
read_log($ARGV[0] || "nightly.log");
print_summary();
