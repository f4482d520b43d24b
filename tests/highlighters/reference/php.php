<?php
/* Order list for the order desk, written to reach every token and every open string or
   comment of the PHP rules: this comment runs over
   three lines. */
# a shell-style comment
// a line comment

define('LIMIT', 250);
$rate = 0.19;
$big = 1.5e10;
$hex = 0xFF;
$range = 1..5;
$seen = array();
$name = "caf\xc3\xa9 order";
$utf8 = "café – ünïcödé";

class Order
{
    var $items;
    private $total = 0;
    public static $count = 0;
    const STATUS = 'open';

    function Order($items = array())
    {
        $this->items = $items;
        self::$count++;
    }

    public function add($name, $price, $qty = 1)
    {
        if ($qty < 1 || $price <= 0) {
            return false;
        } elseif (count($this->items) >= LIMIT) {
            return false;
        } else {
            $this->items[] = array('name' => $name, 'price' => $price, 'qty' => $qty);
        }
        return true;
    }

    public function total()
    {
        $sum = 0;
        foreach ($this->items as $key => $item) {
            $sum += $item['price'] * $item['qty'];
        }
        return $sum * (1 + $GLOBALS['rate']);
    }
}

function money($amount)
{
    if (is_null($amount)) {
        return "-";
    }
    return number_format($amount, 2, '.', ',');
}

function operators($a, $b)
{
    $r = $a + $b - $a * $b / 2 % 3;
    $r += 1; $r -= 1; $r *= 2; $r /= 2; $r %= 3; $r .= 'x';
    $r &= 1; $r |= 2; $r ^= 4;
    $r = $a << 1 >> 1;
    $r <<= 1; $r >>= 1;
    $r = $a && $b || !$a;
    $r = $a == $b ? $a != $b : $a === $b;
    $r = $a !== $b && $a <> $b && $a <= $b && $a >= $b;
    $r = $a and $b or $a xor $b;
    $r = ~$a;
    $a++; $b--; ++$a; --$b;
    $r = $a->b;
    $r = Order::STATUS;
    return $r;
}

function describe($kind)
{
    switch ($kind) {
        case 'gold':
            return "Gold customer";
        case 'silver':
            return "Silver customer";
        default:
            return "Customer";
    }
}

$order = new Order();
$order->add('pen', 1.20, 3);
$order->add("ink", 4.5);
$silenced = @file_get_contents('missing.txt');
$path = 'C:\orders\today';
$tick = `date`;
$multi = 'a single-quoted string
that runs over two lines';
$double = "a double-quoted \"string\" with $name
that also runs over two lines";

for ($i = 0; $i < 3; $i++) {
    while (false) {
        break;
    }
    do {
        continue;
    } while (false);
}

interface Priced
{
    public function price();
}

abstract class Product implements Priced
{
    protected $name;
    protected $cents;

    public function __construct($name, $cents)
    {
        $this->name = $name;
        $this->cents = (int) $cents;
    }

    public function price()
    {
        return $this->cents / 100;
    }

    abstract public function kind();
}

final class Pen extends Product
{
    public function kind()
    {
        return 'pen';
    }

    public static function box($count)
    {
        $pens = array();
        for ($n = 0; $n < $count; $n++) {
            $pens[] = new Pen("pen $n", 120);
        }
        return $pens;
    }
}

try {
    $box = Pen::box(3);
    if (empty($box)) {
        throw new Exception('no pens');
    }
} catch (Exception $e) {
    error_log($e->getMessage());
}

$names = array_map(function ($p) { return $p->kind(); }, $box);
$text = <<<EOT
Orders: {$order->total()}
EOT;
$config = array(
    'limit' => LIMIT,
    'rate' => $rate,
    "keys" => array('a', 'b', 'c'),
);
list($first, $second) = array(1, 2);
$ref = &$config;
$isset = isset($config['limit']) ? true : false;
$total = $order->total();
?>
<html>
<body>
<h1>Orders</h1>
<p>Total: <?php echo money($total); ?></p>
<?php
echo "<p>Items: " . count($order->items) . "</p>\n";
print 'done';
$it = 'it\'s';
'a backslash does not escape a single quote'; $next = 1;
/* a comment that opens and closes */ $after = true;
$open = "the file ends inside a string
