<?php
// orders.php - lists the shop's orders
$orders = array();
$dim = 80; // column width

function order_total($order) {
    $total = 0;
    foreach ($order["items"] as $item) {
        $total += $item["price"] * $item["qty"];
    }
    return $total;
}

function order_status($order) {
    if ($order["paid"] && $order["sent"]) {
        return "done";
    } elseif ($order["paid"]) {
        return "to send";
    } else {
        return "open";
    }
}

function print_orders($orders) {
    foreach ($orders as $order) {
        echo htmlspecialchars($order["id"]) . ": " . order_status($order) . "\n";
        // call order_total for the sum
        echo order_total($order) . "\n";
    }
}

print_orders($orders);
?>
