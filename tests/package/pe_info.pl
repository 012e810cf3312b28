#!/usr/bin/perl
# Prints what Windows reads from a PE executable's headers and version resource:
#   format PE32 | machine i386 | subsystem 2 (2 is a GUI program)
#   file-version a.b.c.d | product-version a.b.c.d   (the fixed part, shown by Explorer)
#   string Key=Value                                   (each text of the string tables)
# Exits 1 with a reason on a file it cannot follow, instead of reading past its end.
use strict;
use warnings;

my $path = shift or die "usage: pe_info.pl FILE\n";
open my $fh, '<:raw', $path or die "pe_info: cannot open $path: $!\n";
my $data = do { local $/; <$fh> };
close $fh;

sub fail { print STDERR "pe_info: $path: $_[0]\n"; exit 1 }
sub bytes {
  my ($buf, $at, $n, $what) = @_;
  fail("$what lies outside the file") if $at < 0 || $at + $n > length $buf;
  return substr($buf, $at, $n);
}
sub u16 { unpack 'v', bytes($_[0], $_[1], 2, $_[2]) }
sub u32 { unpack 'V', bytes($_[0], $_[1], 4, $_[2]) }

fail('no MZ header') unless bytes($data, 0, 2, 'MZ header') eq 'MZ';
my $pe = u32($data, 0x3c, 'PE header offset');
fail('no PE signature') unless bytes($data, $pe, 4, 'PE signature') eq "PE\0\0";
my $machine = u16($data, $pe + 4, 'machine');
my $sections = u16($data, $pe + 6, 'section count');
my $optional_size = u16($data, $pe + 20, 'optional header size');
my $opt = $pe + 24;
my $magic = u16($data, $opt, 'optional header');
fail(sprintf 'optional header magic 0x%x is not PE32', $magic) unless $magic == 0x10b;
print "format PE32\n";
print 'machine ', ($machine == 0x14c ? 'i386' : sprintf('0x%x', $machine)), "\n";
print 'subsystem ', u16($data, $opt + 68, 'subsystem'), "\n";

my $directories = u32($data, $opt + 92, 'data directory count');
fail('no resource directory') if $directories < 3;
my $rsrc_rva = u32($data, $opt + 96 + 2 * 8, 'resource directory');
fail('no resources') if $rsrc_rva == 0;

my @table;
for my $i (0 .. $sections - 1) {
  my $s = $opt + $optional_size + 40 * $i;
  my ($vsize, $va, $rawsize, $raw) = unpack 'V4', bytes($data, $s + 8, 16, 'section header');
  push @table, [$va, ($vsize > $rawsize ? $vsize : $rawsize), $raw];
}
sub offset_of {
  my ($rva) = @_;
  for my $s (@table) {
    return $rva - $s->[0] + $s->[2] if $rva >= $s->[0] && $rva < $s->[0] + $s->[1];
  }
  fail(sprintf 'address 0x%x is in no section', $rva);
}

# Resource tree: type, then name, then language. The version resource is type 16; the
# first name and language under it are the ones Explorer reads.
my $root = offset_of($rsrc_rva);
sub entries {
  my ($dir) = @_;
  my $count = u16($data, $dir + 12, 'resource directory') + u16($data, $dir + 14, 'resource directory');
  fail('resource directory too large') if $count > 4096;
  return map { [unpack 'V2', bytes($data, $dir + 16 + 8 * $_, 8, 'resource entry')] } 0 .. $count - 1;
}
my ($type) = grep { $_->[0] == 16 } entries($root);
fail('no version resource') unless $type;
my $node = $type->[1];
for my $level (1 .. 3) {
  last unless $node & 0x80000000;
  fail('version resource tree too deep') if $level == 3;
  my @below = entries($root + ($node & 0x7fffffff));
  fail('empty version resource directory') unless @below;
  $node = $below[0][1];
}
fail('version resource tree ends in a directory') if $node & 0x80000000;
my ($blob_rva, $blob_size) = unpack 'V2', bytes($data, $root + $node, 8, 'resource data entry');
my $blob = bytes($data, offset_of($blob_rva), $blob_size, 'version resource');

# VS_VERSIONINFO: blocks of (length, value length, type, UTF-16 key, value, children),
# each part aligned to 4 bytes from the resource's start.
sub align4 { ($_[0] + 3) & ~3 }
sub block {
  my ($at, $limit, $depth) = @_;
  fail('version blocks nested too deep') if $depth > 8;
  my ($length, $value_length, $kind) = unpack 'v3', bytes($blob, $at, 6, 'version block');
  fail('version block with a bad length') if $length < 6 || $at + $length > $limit;
  my $end = $at + $length;
  my ($key, $k) = ('', $at + 6);
  while (1) {
    fail('unterminated key in the version resource') if $k + 2 > $end;
    my $c = u16($blob, $k, 'key');
    $k += 2;
    last if $c == 0;
    $key .= chr $c;
  }
  my $v = align4($k);
  my $value_bytes = $kind == 1 ? 2 * $value_length : $value_length;
  $value_bytes = $end - $v if $v + $value_bytes > $end;
  $value_bytes = 0 if $value_bytes < 0;
  my $value = $v <= $end ? substr($blob, $v, $value_bytes) : '';
  my @children;
  my $c = align4($v + $value_bytes);
  while ($c + 6 <= $end) {
    my $child = block($c, $end, $depth + 1);
    push @children, $child;
    $c = align4($c + $child->{length});
  }
  return { key => $key, kind => $kind, value => $value, length => $length, children => \@children };
}
my $info = block(0, length $blob, 0);
fail("version resource key is '$info->{key}'") unless $info->{key} eq 'VS_VERSION_INFO';
fail('no fixed version information') unless length $info->{value} >= 52;
my ($signature, undef, $file_ms, $file_ls, $product_ms, $product_ls) = unpack 'V6', $info->{value};
fail('bad fixed version signature') unless $signature == 0xFEEF04BD;
my $dotted = sub { join '.', $_[0] >> 16, $_[0] & 0xffff, $_[1] >> 16, $_[1] & 0xffff };
print 'file-version ', $dotted->($file_ms, $file_ls), "\n";
print 'product-version ', $dotted->($product_ms, $product_ls), "\n";

sub strings {
  my ($b) = @_;
  for my $child (@{ $b->{children} }) {
    if (@{ $child->{children} }) {
      strings($child);
    } elsif ($child->{kind} == 1) {
      my $text = join '', map { chr } unpack 'v*', $child->{value};
      $text =~ s/\0.*//s;
      print "string $child->{key}=$text\n";
    }
  }
}
strings($_) for grep { $_->{key} eq 'StringFileInfo' } @{ $info->{children} };
