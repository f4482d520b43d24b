/* Stock list for the order desk.
   A block comment over several lines: the range records it as open, the lines after
   its first read as code, and the range stays until a comment closes. */
"use strict";

var LIMIT = 250, RATE = 0.19, BIG = 1.5e10, SMALL = 2E-3, MASK = $FF;
var colours = #12 + #345;
let items = [], total = 0;
const labels = { ok: 'ready', busy: "working\u2026", quote: "say \"hi\"", it: 'it\'s' };

function Item(name, price, qty) {
  this.name = name;
  this.price = price;
  this.qty = qty || 1;
}

Item.prototype.cost = function () {
  return this.price * this.qty * (1 + RATE);
};

function addItem(name, price, qty) {
  if (items.length >= LIMIT) {
    return false;
  } else if (price <= 0 || qty < 1) {
    throw new Error("bad item: " + name);
  } else {
    items.push(new Item(name, price, qty));
  }
  return true;
}

function sumOf(list) {
  var sum = 0, i;
  for (i = 0; i < list.length; i++) sum += list[i].cost();
  return sum;
}

// Operators, each in its compound form too.
function arithmetic(a, b) {
  var r = a + b - a * b / 2 % 3;
  r += 1; r -= 2; r *= 3; r /= 4; r %= 5;
  r &= 0xF; r |= 1; r ^= 2;
  r = r << 1 >> 1 >>> 0;
  r = a && b || !a;
  r = a == b ? a != b : a === b;
  r = a !== b && a <= b && a >= b;
  a++; b--; ++a; --b;
  r = ~a;
  return r;
}

function describe(kind) {
  switch (kind) {
    case "gold":
      return 'Gold customer';
    case "silver":
      return 'Silver customer';
    default:
      return "Customer";
  }
}

function lookup(map, key) {
  for (var k in map) {
    if (k === key) {
      continue;
    }
  }
  try {
    return map[key];
  } catch (e) {
    return null;
  } finally {
    void 0;
  }
}

var spread = [...items, ...[1, 2, 3]];
var range = 1..toString();
var arrow = (x) => x * 2;
var regexLike = total / 2 / 3;
var caf\u00e9 = "café – ünïcödé";
var odd = @ \ ` ;
var unterminated = "no closing quote
var also = 'no closing either

/* a comment that opens and closes on one line */ var after = true;
/*/ var closedAtOnce = 1;
var shortComment = 1; /**/ var next = 2;
var open = 1; /** the rest of this line is a comment
var back = 2;

function render() {
  var html = "<table>";
  items.forEach(function (item) {
    html += "<tr><td>" + item.name + "</td><td>" + item.cost().toFixed(2) + "</td></tr>";
  });
  html += "</table>";
  document.getElementById("stock").innerHTML = html;
  if (typeof window !== 'undefined' && window.console) {
    console.log('rendered', items.length, 'rows');
  }
}

do {
  total = sumOf(items);
} while (false);

while (total > LIMIT * 1000) {
  total = total / 10;
  break;
}

with (Math) {
  total = round(total * 100) / 100;
}

label: for (;;) {
  break label;
}

var store = {
  name: "order desk",
  open: true,
  hours: [9, 17],
  nested: { depth: 2, list: [{ a: 1 }, { b: "two" }] },
  greet: function (who) {
    return "Hello, " + who + "!";
  },
  later: function () {
    var self = this;
    return function () {
      return self.name;
    };
  }
};

function Counter() {
  var count = 0;
  function increment() {
    count += 1;
    return count;
  }
  return { next: increment, reset: function () { count = 0; } };
}

function parseQuery(query) {
  var result = {}, pairs = query.replace(/^\?/, "").split("&"), i, pair;
  for (i = 0; i < pairs.length; i++) {
    pair = pairs[i].split("=");
    if (pair.length === 2) {
      result[decodeURIComponent(pair[0])] = decodeURIComponent(pair[1]);
    }
  }
  return result;
}

function formatMoney(amount) {
  var fixed = (Math.round(amount * 100) / 100).toFixed(2);
  var parts = fixed.split(".");
  parts[0] = parts[0].replace(/\B(?=(\d{3})+(?!\d))/g, ",");
  return parts.join(".");
}

if (typeof module !== "undefined") {
  module.exports = { addItem: addItem, sumOf: sumOf, formatMoney: formatMoney };
}

var counter = new Counter();
counter.next();
counter.reset();
store.greet("visitor");
addItem("pen", 1.20, 3);
addItem("ink", 4.5, 1);
render();
/* the file ends inside a comment
