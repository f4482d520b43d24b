#!/usr/bin/perl -w
# Nightly stock report for the order desk, written to reach every token of the Perl rules.
use strict;
use vars qw($opt_v $opt_d);
use integer;
no integer;
use constant LIMIT => 250;
use locale;
use sigtrap qw(die normal-signals);
use diagnostics;
use subs qw(report);
use less 'memory';

package Stock::Report;

my $rate  = 0.19;
my $big   = 1.5e10;
my $small = 2E-3;
my $hex   = 0xFF;
my $bin   = 0b1010;
my $oct   = 0o17;
my $long  = 1_000_000;
my @range = (1 .. 10);
my @more  = (1...3);
my %seen  = ();
my $home  = $ENV{HOME};
my $name  = $0;
my $pid   = $$;
my $last  = $@;
my $os    = $^O;
my $warn  = $^W;
my $line  = $.;
my $field = $,;
my $input = $/;
my $undef = $^;

sub read_stock {
    my ($file) = @_;
    my @rows;
    open(my $in, '<', $file) or die "cannot open $file: $!";
    while (my $row = <$in>) {
        chomp $row;
        next if $row =~ /^\s*#/;
        next unless length $row;
        my ($item, $price, $qty) = split /\t/, $row;
        push @rows, { item => $item, price => $price, qty => $qty };
    }
    close $in;
    return @rows;
}

sub total_of {
    my @rows = @_;
    my $sum = 0;
    foreach my $r (@rows) {
        $sum += $r->{price} * $r->{qty} * (1 + $rate);
    }
    return $sum;
}

sub compare_rows {
    my ($a, $b) = @_;
    return $a->{item} cmp $b->{item}
        or $a->{price} <=> $b->{price};
}

sub classify {
    my $value = shift;
    if ($value eq 'gold' or $value eq 'silver') {
        return 1;
    } elsif ($value ne '' and not defined $seen{$value}) {
        return 2;
    } elsif ($value lt 'm' xor $value gt 'x') {
        return 3;
    } elsif ($value le 'a' || $value ge 'z') {
        return 4;
    } else {
        return 0;
    }
}

sub operators {
    my ($x, $y) = @_;
    my $r = $x + $y - $x * $y / 2 % 3;
    $r **= 2; $r *= 3; $r /= 4; $r += 1; $r -= 1;
    $r .= "tail"; $r x= 2; $r = 'ab' x 3;
    $r = $x ** $y;
    $r = $x << 1 >> 1;
    $r <<= 1; $r >>= 1;
    $r = $x & $y | $x ^ $y;
    $r &&= 1; $r ||= 2; $r |= 4; $r &= 8; $r ^= 16;
    $r = !$x && $y || ~$x;
    $r = $x == $y ? $x != $y : $x <= $y;
    $r = $x >= $y && $x < $y && $x > $y;
    $r = $x =~ m/abc/ && $y !~ /def/;
    $r++; $r--; ++$r; --$r;
    $r = $x % $y;
    $r %= 3;
    $r = Stock::Report::classify($x);
    $r = \$x;
    return $r;
}

my @rows = read_stock($ARGV[0] || 'stock.tsv');
my @sorted = sort { compare_rows($a, $b) } @rows;
my $total = total_of(@sorted);
my @names = map { $_->{item} } grep { $_->{qty} > 0 } @sorted;
my $joined = join(', ', @names);
my $count = scalar @names;

printf "%-20s %10.2f\n", $_->{item}, $_->{price} for @sorted;
print "Total: $total\n";
print 'Items: ', $joined, "\n";
print "Quoted: \"$count\" items\n";
print STDERR "searched @INC for modules, %INC loaded\n";
warn "no rows\n" unless @sorted;

local $| = 1;
my $now = localtime;
my $stamp = sprintf('%04d-%02d-%02d', 2024, 1, 15);
my $cmd = `date`;
my $caf = "café – ünïcödé";
my $odd = ` ;
my $raw = """triple""";
my $open = "no closing quote
my $also = 'no closing either

our $VERSION = '1.02';
our @EXPORT_OK = qw(read_stock total_of);

BEGIN {
    unshift @INC, './lib';
}

sub by_price {
    my %args = (limit => 10, order => 'asc', @_);
    my @list = sort { $a->{price} <=> $b->{price} } @{ $args{rows} };
    @list = reverse @list if $args{order} eq 'desc';
    return splice(@list, 0, $args{limit});
}

sub summary {
    my ($rows) = @_;
    my %by_item;
    for my $row (@$rows) {
        $by_item{ $row->{item} } += $row->{qty};
    }
    while (my ($item, $qty) = each %by_item) {
        print "$item\t$qty\n";
    }
    return scalar keys %by_item;
}

my $text = <<"END_TEXT";
Stock for $stamp
END_TEXT

my @words = qw(alpha beta gamma);
my $re = qr/^(\w+)\s*=\s*(.*)$/;
if ("key = value" =~ $re) {
    print "$1 is $2\n";
}
(my $copy = $joined) =~ s/, /;/g;
$copy =~ tr/a-z/A-Z/;
my %config = map { $_ => 1 } @words;
my @pairs = map { [$_, length $_] } @words;
local $_ = 'topic';
print length, "\n";

=head1 NAME

report.pl - the nightly stock report

=cut

eval {
    die "failed\n" if $total < 0;
};
warn $@ if $@;

unless (-e 'stock.tsv') {
    exit 1;
}

__END__
Stock report, run nightly.
